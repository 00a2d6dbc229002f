// The editor's store: the file grows by whole lines, the change counter moves
// after every accepted add and every delete, a failing file is reported once.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "stress-editor/VocabularyStore.h"
#include "support/TempRegistry.h"

namespace accentor {
namespace {

using vox::test::ReadFile;
using vox::test::TempDir;
using vox::test::TempRegistry;
using vox::test::WriteFile;

class Store : public testing::Test {
  protected:
    void SetBase(const std::string& path) {
        vox::reg::Key key;
        ASSERT_EQ(vox::reg::Key::Create(vox::reg::Root::LocalMachine, kGlossorKey, key),
                  vox::reg::Status::Ok);
        ASSERT_EQ(key.SetText("AccentorBase", path), vox::reg::Status::Ok);
    }
    std::string FileText() { return vox::Cp1251ToUtf8(ReadFile(file_)); }
    TempRegistry registry_;
    TempDir dir_;
    std::string file_ = dir_.File("accentor.txt");
};

TEST_F(Store, AddAppendsOneLineAndMovesTheCounter) {
    SetBase(file_);
    VocabularyStore store;
    store.Open();
    EXPECT_EQ(ReadGeneration(), 0u);
    Entry added;
    EXPECT_EQ(store.Add("  КОРО+ВА ", &added), VocabularyStore::AddResult::Added);
    EXPECT_EQ(added.text, vox::Utf8ToCp1251("корова"));
    EXPECT_EQ(added.stress, 3);
    EXPECT_EQ(FileText(), "коро+ва\n");
    EXPECT_EQ(ReadGeneration(), 1u);

    // The same stress again writes nothing; another stress a second line.
    EXPECT_EQ(store.Add("коро+ва"), VocabularyStore::AddResult::Unchanged);
    EXPECT_EQ(store.Add("ко+рова"), VocabularyStore::AddResult::Added);
    EXPECT_EQ(FileText(), "коро+ва\nко+рова\n");
    EXPECT_EQ(ReadGeneration(), 2u);

    // Invalid input changes nothing.
    for (const char* bad : {"короВ+а", "корова", "", "+", "中文+", "ко+ро ва"})
        EXPECT_EQ(store.Add(bad), VocabularyStore::AddResult::Invalid) << bad;
    EXPECT_EQ(ReadGeneration(), 2u);

    // Reloading replays the log.
    VocabularyStore again;
    again.Open();
    EXPECT_EQ(Find(again.Entries(), vox::Utf8ToCp1251("корова")), 1);
}

TEST_F(Store, DeleteAppendsTheBareTextEvenWhenAbsent) {
    WriteFile(file_, vox::Utf8ToCp1251("молоко+\nкоро+ва\n"));
    SetBase(file_);
    VocabularyStore store;
    store.Open();
    EXPECT_EQ(store.Entries().Size(), 2u);
    store.Remove(" МОЛО+КО ");
    EXPECT_FALSE(Find(store.Entries(), vox::Utf8ToCp1251("молоко")));
    store.Remove("нет");
    store.RemoveEntries({vox::Utf8ToCp1251("корова")});
    EXPECT_EQ(store.Entries().Size(), 0u);
    EXPECT_EQ(FileText(), "молоко+\nкоро+ва\nмолоко\nнет\nкорова\n");
    EXPECT_EQ(ReadGeneration(), 3u);
}

TEST_F(Store, MissingValueOrFileStartsEmpty) {
    VocabularyStore store;
    store.Open();
    EXPECT_EQ(store.Entries().Size(), 0u);
    SetBase(dir_.File("none.txt"));
    store.Open();
    EXPECT_EQ(store.Entries().Size(), 0u);
}

TEST_F(Store, UnwritableFileKeepsTheChangeInMemoryAndIsToldOnce) {
    SetBase(dir_.File("missing-folder/accentor.txt"));
    VocabularyStore store;
    store.Open();
    EXPECT_EQ(store.Add("коро+ва"), VocabularyStore::AddResult::Added);
    EXPECT_TRUE(Find(store.Entries(), vox::Utf8ToCp1251("корова")));
    EXPECT_EQ(ReadGeneration(), 1u);
    EXPECT_TRUE(store.AppendFailed());
    EXPECT_NE(store.AppendError().find("missing-folder"), std::string::npos);
    EXPECT_TRUE(store.TakeAppendFailureNotice());
    EXPECT_EQ(store.Add("молоко+"), VocabularyStore::AddResult::Added);
    EXPECT_FALSE(store.TakeAppendFailureNotice());
}

}  // namespace
}  // namespace accentor
