#include "shell/Application.h"
#include "shell/ProgramState.h"
#include "tests/support/TestEnvironment.h"

// The tests of the program: every test starts with fresh program-wide values, and a test's
// data file is the one the program opens.
int main(int argc, char** argv)
{
    testenv::Hooks hooks;
    hooks.reset = [] { resetProgramState(); };
    hooks.dataFileMade = [](const QString& connectionString) {
        program().ConnectionString = connectionString;
    };
    // The screens are measured in the interface font their users see.
    return testenv::runTests(argc, argv, std::move(hooks), [] { UseInterfaceFont(); });
}
