// Where the library finds a description, what happens when it cannot, and
// how a context behaves across loads and without one.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "protocol_context.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;
using protocollib_test::CContext;
using protocollib_test::CTempDir;
using protocollib_test::CWorkingDirectory;
using protocollib_test::TinyDescription;

void ExpectEverythingUnknown(ProtocolContext* context) {
    EXPECT_LT(GetCommandID(context, "KV_TEST"), 0);
    EXPECT_LT(GetParameterID(context, "P_MODE"), 0);
    EXPECT_EQ(GetParameterSize(context, 3, 0), 0);
    EXPECT_EQ(GetParameterFract(context, 3, 0), 0);
    EXPECT_STREQ(GetCommandName(context, 0), "");
    EXPECT_STREQ(GetParameterName(context, 3), "");
    EXPECT_STREQ(GetErrorName(context, 0), "");
}

fs::path ProgramFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

TEST(Loading, MissingFileFailsAndLeavesEverythingUnknown) {
    CTempDir empty;
    CWorkingDirectory cwd(empty.Path());
    CContext context;
    EXPECT_LT(context.Load("NoSuchDescription.xml"), 0);
    EXPECT_LT(context.Load((empty.Path() / "absent.xml").string()), 0);
    EXPECT_LT(context.Load(""), 0);
    EXPECT_LT(ProtLoadFromFile(context.Get(), nullptr), 0);
    ExpectEverythingUnknown(context.Get());
}

TEST(Loading, NullContextIsToleratedEverywhere) {
    EXPECT_LT(OpenSession(nullptr), 0);
    EXPECT_LT(ProtLoadFromFile(nullptr, KV_PROTOCOL_XML), 0);
    ExpectEverythingUnknown(nullptr);
    CloseSession(nullptr);
}

TEST(Loading, WorkingDirectoryWinsOverTheLibraryFolder) {
    CTempDir folder;
    folder.Write("Protocol.xml", TinyDescription("ONLY_IN_CWD", 9));
    CWorkingDirectory cwd(folder.Path());
    CContext context;
    ASSERT_EQ(context.Load("Protocol.xml"), 0);
    EXPECT_EQ(GetCommandID(context.Get(), "ONLY_IN_CWD"), 9);
    EXPECT_LT(GetCommandID(context.Get(), "KV_TEST"), 0);
}

TEST(Loading, LibraryFolderWhenTheWorkingDirectoryHasNone) {
    // The generated file lies beside the library; this program's folder has none.
    ASSERT_FALSE(fs::exists(ProgramFolder() / "Protocol.xml"));
    CTempDir empty;
    CWorkingDirectory cwd(empty.Path());
    CContext context;
    ASSERT_EQ(context.Load("Protocol.xml"), 0);
    EXPECT_EQ(GetCommandID(context.Get(), "KV_RUN"), 6);
}

// A file put in a folder for one test, under a name no other run uses.
class CPlacedFile {
public:
    CPlacedFile(const fs::path& folder, const std::string& name, const std::string& content)
        : path_(folder / name) {
        protocollib_test::WriteFile(path_, content);
    }
    ~CPlacedFile() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    CPlacedFile(const CPlacedFile&) = delete;
    CPlacedFile& operator=(const CPlacedFile&) = delete;

private:
    fs::path path_;
};

fs::path LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OpenSession), &info) == 0) return {};
    return fs::path(info.dli_fname).parent_path();
}

TEST(Loading, LibraryFolderBeforeProgramFolder) {
    ASSERT_NE(LibraryFolder(), ProgramFolder());
    const std::string name = "search_order_" + std::to_string(getpid()) + ".xml";
    CTempDir folder;
    CWorkingDirectory cwd(folder.Path());
    CContext context;

    CPlacedFile inProgramFolder(ProgramFolder(), name, TinyDescription("FROM_PROGRAM", 5));
    ASSERT_EQ(context.Load(name), 0);
    EXPECT_EQ(GetCommandID(context.Get(), "FROM_PROGRAM"), 5);

    CPlacedFile inLibraryFolder(LibraryFolder(), name, TinyDescription("FROM_LIBRARY", 4));
    ASSERT_EQ(context.Load(name), 0);
    EXPECT_EQ(GetCommandID(context.Get(), "FROM_LIBRARY"), 4);
    EXPECT_LT(GetCommandID(context.Get(), "FROM_PROGRAM"), 0);

    folder.Write(name, TinyDescription("FROM_CWD", 3));
    ASSERT_EQ(context.Load(name), 0);
    EXPECT_EQ(GetCommandID(context.Get(), "FROM_CWD"), 3);
}

TEST(Loading, NamesWithFoldersAreUsedAsGiven) {
    CTempDir folder;
    fs::create_directory(folder.Path() / "sub");
    const std::string absolute =
        folder.Write("sub/description.xml", TinyDescription("IN_SUBFOLDER", 2));
    CWorkingDirectory cwd(folder.Path());
    CContext context;

    ASSERT_EQ(context.Load("sub/description.xml"), 0);
    EXPECT_EQ(GetCommandID(context.Get(), "IN_SUBFOLDER"), 2);
    ASSERT_EQ(context.Load(absolute), 0);
    EXPECT_EQ(GetCommandID(context.Get(), "IN_SUBFOLDER"), 2);
    // An absolute name is not searched for elsewhere, though a file of that
    // base name lies beside the library.
    EXPECT_LT(context.Load((folder.Path() / "Protocol.xml").string()), 0);
}

TEST(Loading, NonRegularFilesAreRefusedWithoutBlocking) {
    CTempDir folder;
    const auto fifo = folder.Path() / "fifo.xml";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directory(folder.Path() / "folder.xml");
    CContext context;
    EXPECT_LT(context.Load(fifo.string()), 0);
    EXPECT_LT(context.Load((folder.Path() / "folder.xml").string()), 0);
    EXPECT_LT(context.Load("/dev/zero"), 0);
}

TEST(Loading, OversizedFileIsRefused) {
    CTempDir folder;
    const std::string path = folder.Write("huge.xml", TinyDescription("HUGE", 1));
    fs::resize_file(path, 64u << 20);  // sparse: a valid start, then zeros
    CContext context;
    EXPECT_LT(context.Load(path), 0);
    ExpectEverythingUnknown(context.Get());
}

TEST(Loading, ReloadReplacesTablesButKeepsEarlierNamesValid) {
    CTempDir folder;
    const std::string tiny = folder.Write("tiny.xml", TinyDescription("TINY", 0));
    CContext context;
    ASSERT_EQ(context.Load(KV_PROTOCOL_XML), 0);
    const char* first = GetCommandName(context.Get(), 0);
    const char* status = GetErrorName(context.Get(), 0);
    ASSERT_STREQ(first, "KV_TEST");

    ASSERT_EQ(context.Load(tiny), 0);
    EXPECT_STREQ(GetCommandName(context.Get(), 0), "TINY");
    EXPECT_LT(GetCommandID(context.Get(), "KV_TEST"), 0);
    EXPECT_EQ(GetParameterSize(context.Get(), 1, 0), 2);
    EXPECT_EQ(GetParameterFract(context.Get(), 1, 0), 1);

    // A failed load leaves nothing behind, not the previous file's answers.
    EXPECT_LT(context.Load((folder.Path() / "missing.xml").string()), 0);
    ExpectEverythingUnknown(context.Get());

    EXPECT_STREQ(first, "KV_TEST");
    EXPECT_STREQ(status, "KV_NO_ERROR");
}

}  // namespace
