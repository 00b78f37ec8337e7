#include "platform/registry/file_registry.h"

#include "platform/registry/expand_environment.h"
#include "platform/registry/registry_text.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class FileRegistryTest : public ::testing::Test {
protected:
    QString storePath() const { return dir.filePath(QStringLiteral("cfg/sorvinta/registry.json")); }
    std::unique_ptr<RegistryKey> create(const std::string& path) {
        std::unique_ptr<RegistryKey> key;
        EXPECT_EQ(store.createKey(RegistryRoot::LocalMachine, path,
                                  RegistryAccess::SetValue | RegistryAccess::QueryValue, key),
                  RegistryResult::Ok);
        return key;
    }
    QTemporaryDir dir;
    FileRegistry store{storePath()};
};

} // namespace

TEST_F(FileRegistryTest, ValuesEnumerateInTheOrderTheyWereFirstWritten) {
    auto key = create("Software\\List");
    key->setValue("b.chm", RegSz, "/b/");
    key->setValue("a.chm", RegSz, "/a/");
    key->setValue("B.CHM", RegSz, "/b2/"); // the same value, letter case aside
    RegistryValueInfo info;
    ASSERT_EQ(key->enumValue(0, info), RegistryResult::Ok);
    EXPECT_EQ(info.name, "b.chm");
    EXPECT_EQ(info.type, RegSz);
    EXPECT_EQ(info.dataSize, 5u);
    ASSERT_EQ(key->enumValue(1, info), RegistryResult::Ok);
    EXPECT_EQ(info.name, "a.chm");
    EXPECT_EQ(key->enumValue(2, info), RegistryResult::NoMoreItems);
    std::uint32_t type = 0;
    std::string data;
    ASSERT_EQ(key->queryValue("B.chm", type, data), RegistryResult::Ok);
    EXPECT_EQ(data, "/b2/");
}

TEST_F(FileRegistryTest, KeysMatchInAnyLetterCaseAndExistOnceAKeyBelowDoes) {
    create("Software\\Vendor\\Product")->setValue("", RegSz, "default");
    std::unique_ptr<RegistryKey> key;
    EXPECT_EQ(store.openKey(RegistryRoot::LocalMachine, "SOFTWARE\\vendor",
                            RegistryAccess::QueryValue, key),
              RegistryResult::Ok);
    EXPECT_EQ(store.openKey(RegistryRoot::LocalMachine, "Software\\Vend",
                            RegistryAccess::QueryValue, key),
              RegistryResult::NotFound);
    EXPECT_EQ(store.openKey(RegistryRoot::CurrentUser, "Software\\Vendor",
                            RegistryAccess::QueryValue, key),
              RegistryResult::NotFound);
    EXPECT_EQ(
        readRegistryText(store, RegistryRoot::LocalMachine, "software\\VENDOR\\product\\", ""),
        "default");
}

TEST_F(FileRegistryTest, ASecondStoreOnTheSameFileSeesEveryChange) {
    create("K")->setValue("v", RegSz, "1");
    FileRegistry other(storePath());
    EXPECT_EQ(readRegistryText(other, RegistryRoot::LocalMachine, "K", "v"), "1");
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(other.openKey(RegistryRoot::LocalMachine, "K", RegistryAccess::SetValue, key), 0);
    EXPECT_EQ(key->deleteValue("V"), RegistryResult::Ok);
    EXPECT_EQ(key->deleteValue("v"), RegistryResult::NotFound);
    EXPECT_EQ(readRegistryText(store, RegistryRoot::LocalMachine, "K", "v"), std::nullopt);
}

TEST_F(FileRegistryTest, AccessThatWasNotAskedForIsRefused) {
    create("K")->setValue("v", RegSz, "1");
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(store.openKey(RegistryRoot::LocalMachine, "K", RegistryAccess::QueryValue, key), 0);
    EXPECT_EQ(key->setValue("v", RegSz, "2"), RegistryResult::AccessDenied);
    EXPECT_EQ(key->close(), RegistryResult::Ok);
    EXPECT_NE(key->close(), RegistryResult::Ok);
}

TEST_F(FileRegistryTest, TextEndsAtItsFirstNulAndOnlyTextTypesAreStored) {
    auto key = create("K");
    EXPECT_EQ(key->setValue("v", RegSz, std::string("abc\0def", 7)), RegistryResult::Ok);
    EXPECT_NE(key->setValue("bin", RegBinary, "xyz"), RegistryResult::Ok);
    EXPECT_EQ(readRegistryText(store, RegistryRoot::LocalMachine, "K", "v"), "abc");
    EXPECT_EQ(readRegistryText(store, RegistryRoot::LocalMachine, "K", "bin"), std::nullopt);
}

TEST_F(FileRegistryTest, ADamagedStoreReadsEmptyAndIsMovedAsideOnTheFirstChange) {
    create("K")->setValue("v", RegSz, "1");
    QFile file(storePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{ not json");
    file.close();
    EXPECT_EQ(readRegistryText(store, RegistryRoot::LocalMachine, "K", "v"), std::nullopt);
    EXPECT_TRUE(writeRegistryText(store, RegistryRoot::LocalMachine, "K", "v", "2"));
    EXPECT_EQ(readRegistryText(store, RegistryRoot::LocalMachine, "K", "v"), "2");
    QFile aside(storePath() + QStringLiteral(".damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), "{ not json");
}

TEST_F(FileRegistryTest, ExpandableTextIsExpandedWhenRead) {
    qputenv("SORVINTA_TEST_PLACE", "/opt/place");
    auto key = create("K");
    key->setValue("v", RegExpandSz, "$SORVINTA_TEST_PLACE/help/");
    EXPECT_EQ(readRegistryText(store, RegistryRoot::LocalMachine, "K", "v"), "/opt/place/help/");
}

TEST(ExpandEnvironmentStrings, ExpandsWhatIsSetAndKeepsTheRest) {
    qputenv("SORVINTA_X", "ex");
    qunsetenv("SORVINTA_UNSET");
    const struct {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"a$SORVINTA_X/b", "aex/b"},
        {"${SORVINTA_X}y", "exy"},
        {"$SORVINTA_UNSET/x", "$SORVINTA_UNSET/x"},
        {"${SORVINTA_UNSET}", "${SORVINTA_UNSET}"},
        {"$$SORVINTA_X", "$SORVINTA_X"},
        {"cost $5", "cost $5"},
        {"${unclosed", "${unclosed"},
        {"end$", "end$"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(expandEnvironmentStrings(c.text), c.expanded) << c.text;
}
