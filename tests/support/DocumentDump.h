#pragma once

#include "platform/report/Document.h"

#include <QString>

#include <gtest/gtest.h>

// Layout tests compare what a run put on the pages with a reviewed expected file, instead of
// asserting every control by hand:
//
//     DataFixture db;                      // the fixture rows the layout reads
//     ... add people ...
//     rptTeamRoster layout;
//     auto doc = report::run(layout);
//     EXPECT_DUMP(*doc, "expected/roster-three-teams.dump");
//
// The file lies beside the test's source file. When the dump differs, the failure shows the
// first lines that differ and the new dump is written beside the expected file as
// "<file>.actual". After a change that is meant, run the tests with CORVESSA_UPDATE_DUMPS=1:
// the expected files are rewritten; review them with git diff before committing them. A new
// test starts the same way: its missing file is written by the first run with the switch.
namespace testing_support {

// The environment variable that rewrites the expected files.
inline constexpr const char* kUpdateDumpsVariable = "CORVESSA_UPDATE_DUMPS";

::testing::AssertionResult matchesDump(const report::Document& document,
                                       const QString& expectedFile);

// A path relative to the folder of a source file (pass __FILE__).
QString besideSource(const char* sourceFile, const QString& name);

} // namespace testing_support

#define EXPECT_DUMP(document, file)                                                                \
    EXPECT_TRUE(::testing_support::matchesDump(                                                    \
        (document), ::testing_support::besideSource(__FILE__, QStringLiteral(file))))
