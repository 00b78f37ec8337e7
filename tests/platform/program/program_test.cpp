#include "platform/program/program_folder.h"
#include "platform/program/resource_program_strings.h"

#include <gtest/gtest.h>

#include <QFileInfo>

// The tests sit one folder below the build folder, as the program does, so the same rule finds
// the help file the build put into the program's folder.
TEST(ProgramFolder, HoldsTheHelpFileInTheBuildTree) {
    const std::string folder = programFolder();
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(folder + "/help/Sorvinta.chm"))) << folder;
}

TEST(ProgramStrings, NumberedLinesWithLineBreaks) {
    const auto strings = ResourceProgramStrings::parse("101\tFirst\n"
                                                       "102\tTwo\\nlines\r\n"
                                                       "x\tnot a number\n"
                                                       "no tab\n"
                                                       "-5\tnegative\n"
                                                       "103\t\n");
    ASSERT_EQ(strings.size(), 4u);
    EXPECT_EQ(strings.at(101), "First");
    EXPECT_EQ(strings.at(102), "Two\nlines");
    EXPECT_EQ(strings.at(-5), "negative");
    EXPECT_EQ(strings.at(103), "");
}
