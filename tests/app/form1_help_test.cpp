#include "form1_fixture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>

namespace {

// Help > How to Use: the help file of the program's folder at context 1, in the "Main" window,
// through one help object that stays.
TEST(Form1Help, HowToUseOpensContextOneInTheMainWindow) {
    Form1Fixture f;
    const std::string helpFile = f.programFolder + "/help/Sorvinta.chm";
    QDir().mkpath(QString::fromStdString(f.programFolder + "/help"));
    QFile file(QString::fromStdString(helpFile));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(f.form->helpViewer(), nullptr);

    f.form->Contents->trigger();
    ASSERT_EQ(f.helpEngine.calls.size(), 1u);
    const RecordedHelpCall& call = f.helpEngine.calls[0];
    EXPECT_EQ(call.caller, 0);
    EXPECT_EQ(call.file, helpFile + ">Main");
    EXPECT_EQ(call.command, HelpCommand::HH_HELP_CONTEXT);
    EXPECT_EQ(call.data, 1u);
    const HTMLHelp* first = f.form->helpViewer();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->HHShowOnTop());

    f.form->Contents->trigger();
    EXPECT_EQ(f.form->helpViewer(), first);
    EXPECT_EQ(f.helpEngine.calls.size(), 2u);
    EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(Form1Help, HowToUseWithoutTheHelpFileSaysWhereItLooked) {
    Form1Fixture f;
    f.form->Contents->trigger();
    EXPECT_TRUE(f.helpEngine.calls.empty());
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].title, "HTML Help Class");
    EXPECT_EQ(f.boxes.shown[0].text, "The file " + f.programFolder +
                                         "/help/Sorvinta.chm does not exist.\nPlease make sure "
                                         "the correct path and file name have been specified.");
}

} // namespace
