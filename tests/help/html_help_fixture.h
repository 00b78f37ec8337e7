#pragma once

#include "help/html_help.h"
#include "platform/help_engine/help_engine_keys.h"
#include "platform/registry/file_registry.h"
#include "platform/registry/registry_text.h"
#include "support/fake_help.h"
#include "support/fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A help object with a program folder and a registry of its own in a temporary folder, a fake
// engine, fake window services and recorded message boxes.
class HTMLHelpTest : public ::testing::Test {
protected:
    HTMLHelpTest()
        : registry(dir.filePath(QStringLiteral("config/registry.json"))),
          programFolder(dir.filePath(QStringLiteral("program")).toStdString()),
          help(HTMLHelpServices{boxes, registry, engine, windows, strings, programFolder}) {
        QDir().mkpath(QString::fromStdString(programFolder));
    }

    // Creates an empty file (and its folders) below the temporary folder; gives its full path.
    std::string makeFile(const std::string& relative) {
        const QString path = dir.filePath(QString::fromStdString(relative));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path.toStdString();
    }
    std::string path(const std::string& relative) const {
        return dir.filePath(QString::fromStdString(relative)).toStdString();
    }
    // Lists a help file as registered, as HHRegister would.
    void listHelpFile(const std::string& name, const std::string& folder) {
        ASSERT_TRUE(writeRegistryText(registry, RegistryRoot::LocalMachine,
                                      HelpEngineKeys::kHelpFileList, name, folder));
    }
    std::optional<std::string> listedFolder(const std::string& name) {
        return readRegistryText(registry, RegistryRoot::LocalMachine, HelpEngineKeys::kHelpFileList,
                                name);
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const ShownBox& b : boxes.shown)
            texts.push_back(b.text);
        return texts;
    }

    QTemporaryDir dir;
    FileRegistry registry;
    FakeMessageBox boxes;
    FakeHelpEngine engine;
    FakeWindowServices windows;
    FakeProgramStrings strings;
    std::string programFolder;
    HTMLHelp help;
};
