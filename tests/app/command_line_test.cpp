#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

TEST(CommandLine, FileArgumentIsTheFirstArgumentAsAnAbsolutePath) {
    const QString here = QDir::currentPath();
    const std::pair<QStringList, QString> cases[] = {
        {{"sorvinta"}, ""},
        {{"sorvinta", ""}, ""},
        {{"sorvinta", "/tmp/take.wav"}, "/tmp/take.wav"},
        {{"sorvinta", "take.wav"}, here + "/take.wav"},
        {{"sorvinta", "../x/take.wav"}, QDir::cleanPath(here + "/../x/take.wav")},
        {{"sorvinta", "/tmp/with blank.wav", "/tmp/second.wav"}, "/tmp/with blank.wav"},
        {{"sorvinta", "file:///tmp/with%20blank.wav"}, "/tmp/with blank.wav"},
    };
    for (const auto& [arguments, path] : cases)
        EXPECT_EQ(fileArgument(arguments), path) << arguments.join(' ').toStdString();
}

} // namespace
