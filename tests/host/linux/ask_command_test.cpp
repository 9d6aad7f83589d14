// grazefall --ask, run as a user would run it.
#include <gtest/gtest.h>

#include "tests/support/run_program.h"

namespace grazefall {
namespace {

TEST(AskCommand, PrintsTheAnswerOrTheHelpRequest) {
  if (!testing::ProgramPath()) GTEST_SKIP() << "the grazefall program is not built here";
  const testing::ProgramRun moo = testing::RunProgram("", "--ask 'mo mo'");
  EXPECT_EQ(moo.exitCode, 0);
  EXPECT_EQ(moo.output, "Hi! Moo mo muu?\n");
  // Unquoted words make one question.
  EXPECT_EQ(testing::RunProgram("", "--ask where are you").output, "Xanadu\n");
  const testing::ProgramRun help = testing::RunProgram("", "--ask 'please help'");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.output, "(opens the help)\n");
  const testing::ProgramRun nothing = testing::RunProgram("", "--ask");
  EXPECT_EQ(nothing.exitCode, 2);
  EXPECT_EQ(nothing.output, "");
}

}  // namespace
}  // namespace grazefall
