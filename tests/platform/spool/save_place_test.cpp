#include "platform/spool/save_place.h"
#include "platform/spool/spool_messages.h"
#include "support/ordinary_user.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class SavePlace : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // Reachable by the ordinary user that the permission cases run as.
        ::chmod(dir().c_str(), 0755);
    }
    std::string dir() const { return m_dir.path().toStdString(); }
    std::string reasonFor(const std::string& path) const {
        const auto place = checkSavePlace(path);
        return place ? "ok" : placeReason(place.cause());
    }
    QStringList leftBehind() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SavePlace, EachRefusalNamesItsReason) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder"));
    { std::ofstream(dir() + "/plain.txt") << "x"; }
    { std::ofstream(dir() + "/old.wav") << "x"; }
    ::symlink("old.wav", (dir() + "/link.wav").c_str());
    const std::string d = dir() + "/";
    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {d + "take.wav", "ok"},
        {d + "old.wav", "ok"},
        {d + "take one.wav", "ok"},
        {d + std::string(250, 'n') + ".wav", "ok"}, // 254 bytes: within the limit
        {d + "say \"hi\".wav",
         "the name contains a double quote (\"), which a command cannot carry"},
        {d + "bad\nname.wav", "the name contains a control character"},
        {d + "tab\there.wav", "the name contains a control character"},
        {d + "name.wav ", "the file name ends with a blank"},
        {d + " name.wav", "the file name begins with a blank"},
        {d + std::string(252, 'n') + ".wav", "the file name is longer than the 255 bytes this file "
                                             "system allows"},
        {d + "missing/take.wav", "its folder does not exist"},
        {d + "plain.txt/take.wav", "a part of its folder is not a folder"},
        {d + "folder", "it is a folder, not a file"},
        {d + "folder/", "it names a folder, not a file"},
        {d + "link.wav", "it is a symbolic link to old.wav, and saving would replace the link, "
                         "not the file it points to; name that file itself"},
        {"/dev/null", "it is not a plain file"},
        {"/proc/take.wav", "its folder is on /proc, the system's view of running processes, where "
                           "no files can be made"},
        {"/proc/self/take.wav", "its folder is on /proc, the system's view of running processes, "
                                "where no files can be made"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reasonFor(c.path), c.reason) << c.path;
    // The probe file is gone again.
    EXPECT_EQ(leftBehind(), (QStringList{"folder", "link.wav", "old.wav", "plain.txt"}));
}

TEST_F(SavePlace, PermissionsAreCheckedAsTheSaveWillNeedThem) {
    // Owned by root (or by whoever runs the tests), each case as seen by an ordinary user.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("closed"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("open"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("sticky"));
    const std::string closed = dir() + "/closed";
    const std::string open = dir() + "/open";
    const std::string sticky = dir() + "/sticky";
    { std::ofstream(closed + "/writable.wav") << "x"; }
    { std::ofstream(open + "/readonly.wav") << "x"; }
    { std::ofstream(sticky + "/theirs.wav") << "x"; }
    ::chmod(closed.c_str(), 0755);
    ::chmod((closed + "/writable.wav").c_str(), 0666);
    ::chmod(open.c_str(), 0777);
    ::chmod((open + "/readonly.wav").c_str(), 0444);
    ::chmod(sticky.c_str(), 01777);
    ::chmod((sticky + "/theirs.wav").c_str(), 0666);
    if (::geteuid() != 0)
        GTEST_SKIP() << "these files are the tester's own; the cases need another owner";

    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {closed + "/writable.wav", "you have no permission to create files in its folder"},
        {closed + "/new.wav", "you have no permission to create files in its folder"},
        {open + "/readonly.wav", "the file exists and you have no permission to replace it"},
        {open + "/new.wav", "ok"},
        {sticky + "/theirs.wav", "the file exists and you have no permission to replace it"},
        {sticky + "/mine.wav", "ok"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(runAsOrdinaryUser([&] { return reasonFor(c.path); }), c.reason) << c.path;
}

TEST(SavePlaceReason, NamesTheCommonCausesPlainly) {
    EXPECT_EQ(placeReason(ENOSPC), "the disk is full");
    EXPECT_EQ(placeReason(EDQUOT), "the disk is full");
    EXPECT_EQ(placeReason(EACCES), "you have no permission to write there");
    EXPECT_EQ(placeReason(ENAMETOOLONG), "the name is too long");
    EXPECT_EQ(placeReason(EIO), "input/output error");
}
