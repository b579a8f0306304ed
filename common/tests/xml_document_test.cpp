#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "korvel/common/xml_document.h"
#include "temp_folder.h"

namespace {

using VxCore::CXMLDocument;
using commontest::CTempFolder;

constexpr const char* kTag = "VxZ\x01";
constexpr const char* kOtherTag = "QLT\x01";
constexpr std::size_t kHeaderBytes = 13;

std::string Stored(const std::string& xml, bool compress, const char* tag = kTag) {
    CXMLDocument doc(true);
    doc.Open(nullptr);
    doc.SetSignature(tag);
    doc.SetCompression(compress);
    doc.Doc().load_string(xml.c_str());
    return doc.StoredBytes();
}

std::string Header(unsigned char form, std::uint32_t length, std::uint32_t crc) {
    std::string out(kTag, 4);
    out.push_back(static_cast<char>(form));
    for (std::uint32_t value : {length, crc}) {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return out;
}

std::string DeflateBytes(const std::string& text) {
    uLongf size = compressBound(static_cast<uLong>(text.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(text.data()),
              static_cast<uLong>(text.size()), Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

int OpenStored(const std::string& bytes) {
    CXMLDocument doc(true);
    doc.SetCompression(true);
    doc.SetSignature(kTag);
    const int result = doc.OpenBytes(bytes.data(), bytes.size());
    if (result != 0) {
        EXPECT_FALSE(doc.Doc().first_child()) << "a refused file leaves no content";
    }
    return result;
}

std::string Nested(std::size_t depth) {
    std::string xml;
    for (std::size_t i = 0; i < depth; ++i) xml += "<a>";
    for (std::size_t i = 0; i < depth; ++i) xml += "</a>";
    return xml;
}

const std::string kSample = "<profilelist><profile comment=\"a\"/></profilelist>";

struct SBadInput {
    const char* name;
    std::function<std::string()> bytes;
    int result;
};

class CBadInput : public ::testing::TestWithParam<SBadInput> {};

TEST_P(CBadInput, IsRefused) { EXPECT_EQ(OpenStored(GetParam().bytes()), GetParam().result); }

INSTANTIATE_TEST_SUITE_P(
    XMLDocument, CBadInput,
    ::testing::Values(
        SBadInput{"Empty", [] { return std::string(); }, VxCore::xdrForeign},
        SBadInput{"PlainXML", [] { return kSample; }, VxCore::xdrForeign},
        SBadInput{"OtherTag", [] { return Stored(kSample, true, kOtherTag); }, VxCore::xdrForeign},
        SBadInput{"HeaderOnly", [] { return Stored(kSample, true).substr(0, kHeaderBytes); },
                  VxCore::xdrDamaged},
        SBadInput{"TruncatedStream", [] { const auto s = Stored(kSample, true); return s.substr(0, s.size() - 3); },
                  VxCore::xdrDamaged},
        SBadInput{"TruncatedPlain", [] { const auto s = Stored(kSample, false); return s.substr(0, s.size() - 1); },
                  VxCore::xdrDamaged},
        SBadInput{"TrailingBytes", [] { return Stored(kSample, true) + "x"; }, VxCore::xdrDamaged},
        SBadInput{"FlippedTextByte", [] { auto s = Stored(kSample, false); s[kHeaderBytes + 5] ^= 0x20; return s; },
                  VxCore::xdrDamaged},
        SBadInput{"UnknownForm", [] { auto s = Stored(kSample, false); s[4] = 7; return s; }, VxCore::xdrDamaged},
        SBadInput{"CompressedJunk", [] { return Header(1, 100, 0) + std::string(200, '\x5a'); },
                  VxCore::xdrDamaged},
        SBadInput{"LengthBeyondLimit", [] { return Header(1, (64u << 20) + 1, 0) + DeflateBytes("x"); },
                  VxCore::xdrTooLarge},
        // A small recorded length over a stream that inflates to 80 MiB.
        SBadInput{"ZipBomb", [] { return Header(1, 1024, 0) + DeflateBytes(std::string(80u << 20, ' ')); },
                  VxCore::xdrDamaged},
        SBadInput{"NotXML", [] { const std::string t = "<a><b></a>"; return Header(0, t.size(), crc32(0, reinterpret_cast<const Bytef*>(t.data()), t.size())) + t; },
                  VxCore::xdrDamaged},
        SBadInput{"DeeplyNested", [] { return Stored(Nested(VxCore::kMaxXMLDepth + 1), true); },
                  VxCore::xdrTooDeep}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XMLDocument, ReadsBackNestingAtTheLimit) {
    EXPECT_EQ(OpenStored(Stored(Nested(VxCore::kMaxXMLDepth), true)), 0);
}

struct SRoundTrip {
    const char* name;
    bool compress;
};

class CRoundTrip : public ::testing::TestWithParam<SRoundTrip> {};

// Texts survive byte for byte, whatever characters they hold.
TEST_P(CRoundTrip, KeepsTexts) {
    CTempFolder folder;
    const std::string path = folder / "list.z5p";
    const std::string comment = "Проба\tкомментария\n\"<&>\" \r end";
    {
        CXMLDocument doc(true);
        ASSERT_EQ(doc.Open(nullptr), 0);
        doc.SetSignature(kTag);
        doc.SetCompression(GetParam().compress);
        auto root = doc.Doc().append_child("root");
        root.append_attribute("comment").set_value(comment.c_str());
        root.text().set("  текст  ");
        ASSERT_EQ(doc.Save(path.c_str()), 0);
    }
    CXMLDocument doc(true);
    doc.SetCompression(true);
    doc.SetSignature(kTag);
    ASSERT_EQ(doc.Open(path.c_str()), 0);
    EXPECT_EQ(std::string(doc.Doc().child("root").attribute("comment").value()), comment);
    EXPECT_EQ(std::string(doc.Doc().child("root").text().get()), "  текст  ");
    doc.Close();
    EXPECT_FALSE(doc.Doc().first_child());
}

INSTANTIATE_TEST_SUITE_P(XMLDocument, CRoundTrip,
                         ::testing::Values(SRoundTrip{"Compressed", true}, SRoundTrip{"Plain", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(XMLDocument, CompressionMakesRepetitiveTextsSmaller) {
    const std::string xml = "<a>" + std::string(10000, 'x') + "</a>";
    EXPECT_LT(Stored(xml, true).size() * 10, Stored(xml, false).size());
}

TEST(XMLDocument, RefusesWhatIsNoRegularFile) {
    CTempFolder folder;
    CXMLDocument doc(true);
    doc.SetSignature(kTag);
    EXPECT_EQ(doc.Open((folder / "absent.z5p").c_str()), VxCore::xdrCannotRead);
    EXPECT_EQ(doc.Open((folder / "").c_str()), VxCore::xdrCannotRead);
    const std::string pipePath = folder / "pipe";
    ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
    EXPECT_EQ(doc.Open(pipePath.c_str()), VxCore::xdrCannotRead);
}

TEST(XMLDocument, OpenOfNothingStartsEmpty) {
    CXMLDocument doc(true);
    doc.SetSignature(kTag);
    ASSERT_EQ(doc.OpenBytes(Stored(kSample, true).data(), Stored(kSample, true).size()), 0);
    ASSERT_TRUE(doc.Doc().child("profilelist"));
    EXPECT_EQ(doc.Open(nullptr), 0);
    EXPECT_FALSE(doc.Doc().first_child());
}

struct SFailedSave {
    const char* name;
    std::function<std::string(const CTempFolder&)> target;
};

class CFailedSave : public ::testing::TestWithParam<SFailedSave> {};

// A save that cannot happen says so and leaves nothing behind.
TEST_P(CFailedSave, ReportsFailure) {
    CTempFolder folder;
    const std::string target = GetParam().target(folder);
    const std::size_t entries = folder.EntryCount();
    CXMLDocument doc(true);
    doc.Open(nullptr);
    doc.SetSignature(kTag);
    doc.Doc().append_child("root");
    EXPECT_EQ(doc.Save(target.c_str()), VxCore::xdrCannotWrite);
    EXPECT_EQ(folder.EntryCount(), entries);
}

INSTANTIATE_TEST_SUITE_P(
    XMLDocument, CFailedSave,
    ::testing::Values(SFailedSave{"MissingFolder", [](const CTempFolder& f) { return f / "absent/list.z5p"; }},
                      SFailedSave{"TargetIsFolder",
                                  [](const CTempFolder& f) {
                                      const std::string dir = f / "dir";
                                      std::filesystem::create_directory(dir);
                                      std::filesystem::create_directory(dir + "/inside");
                                      return dir;
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XMLDocument, SaveReplacesThePreviousFile) {
    CTempFolder folder;
    const std::string path = folder / "list.z5p";
    commontest::WriteBytes(path, "old");
    CXMLDocument doc(true);
    doc.Open(nullptr);
    doc.SetSignature(kTag);
    doc.Doc().append_child("new");
    ASSERT_EQ(doc.Save(path.c_str()), 0);
    EXPECT_EQ(folder.EntryCount(), 1u);
    ASSERT_EQ(doc.Open(path.c_str()), 0);
    EXPECT_TRUE(doc.Doc().child("new"));
}

// A process killed while it saves leaves the file as one whole version.
TEST(XMLDocument, KillDuringSaveLeavesAWholeFile) {
    CTempFolder folder;
    const std::string path = folder / "list.z5p";
    CXMLDocument first(true);
    first.Open(nullptr);
    first.SetSignature(kTag);
    first.Doc().append_child("first");
    ASSERT_EQ(first.Save(path.c_str()), 0);

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CXMLDocument big(true);
        big.Open(nullptr);
        big.SetSignature(kTag);
        big.SetCompression(false);
        auto root = big.Doc().append_child("big");
        for (int i = 0; i < 20000; ++i) root.append_child("item").text().set(i);
        const char signal = 1;
        if (write(ready[1], &signal, 1) != 1) _exit(1);
        for (;;) big.Save(path.c_str());
    }
    close(ready[1]);
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    CXMLDocument doc(true);
    doc.SetSignature(kTag);
    ASSERT_EQ(doc.Open(path.c_str()), 0);
    EXPECT_TRUE(doc.Doc().child("first") || doc.Doc().child("big"));
}

}  // namespace
