#include "tests/support/TestEnvironment.h"

// The tests of the platform layer, which knows nothing of the program built on it.
int main(int argc, char** argv)
{
    return testenv::runTests(argc, argv, {});
}
