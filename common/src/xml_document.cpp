#include "korvel/common/xml_document.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "korvel/common/replace_file.h"

namespace VxCore {

namespace {

enum EStoredForm : unsigned char { sfPlain = 0, sfDeflate = 1 };

constexpr std::size_t kFormOffset = kSignatureBytes;
constexpr std::size_t kLengthOffset = kFormOffset + 1;
constexpr std::size_t kChecksumOffset = kLengthOffset + 4;
constexpr std::size_t kHeaderBytes = kChecksumOffset + 4;
// A stored file is never larger than its text plus what deflate may add.
constexpr std::size_t kMaxStoredBytes = kHeaderBytes + kMaxXMLTextBytes + (kMaxXMLTextBytes >> 8) + 64;

void PutUint32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFFu));
}

std::uint32_t GetUint32(const unsigned char* in) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}

std::uint32_t Checksum(std::string_view text) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // crc32 takes at most a uInt at a time.
    while (!text.empty()) {
        const auto piece = static_cast<uInt>(std::min<std::size_t>(text.size(), 1u << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(text.data()), piece);
        text.remove_prefix(piece);
    }
    return static_cast<std::uint32_t>(crc);
}

// Inflates exactly `length` bytes; false for a broken stream, one that ends
// early, runs longer or has bytes after its end. The text grows with what the
// stream gives, so a header that claims much costs nothing by itself.
bool Inflate(const unsigned char* data, std::size_t size, std::size_t length, std::string& text) {
    text.clear();
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    std::array<unsigned char, 1 << 16> chunk{};
    int status = Z_OK;
    while (status == Z_OK && text.size() <= length) {
        stream.next_out = chunk.data();
        stream.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&stream, Z_NO_FLUSH);
        text.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - stream.avail_out);
        if (status == Z_BUF_ERROR) break;  // the input ended before the stream did
    }
    const bool whole = status == Z_STREAM_END && text.size() == length && stream.avail_in == 0;
    inflateEnd(&stream);
    return whole;
}

bool Deflate(std::string_view text, std::string& out) {
    uLongf capacity = compressBound(static_cast<uLong>(text.size()));
    const std::size_t start = out.size();
    out.resize(start + capacity);
    const int status = compress2(reinterpret_cast<Bytef*>(out.data() + start), &capacity,
                                 reinterpret_cast<const Bytef*>(text.data()),
                                 static_cast<uLong>(text.size()), Z_BEST_COMPRESSION);
    out.resize(start + capacity);
    return status == Z_OK;
}

// Depth of the deepest element, walked without recursion.
std::size_t Depth(const pugi::xml_node& root) {
    std::size_t depth = 0, deepest = 0;
    pugi::xml_node node = root.first_child();
    while (node) {
        deepest = std::max(deepest, depth + 1);
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
            if (node == root) return deepest;
            --depth;
        }
        if (node) node = node.next_sibling();
    }
    return deepest;
}

class CXMLTextWriter : public pugi::xml_writer {
public:
    explicit CXMLTextWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override { out_.append(static_cast<const char*>(data), size); }

private:
    std::string& out_;
};

}  // namespace

CXMLDocument::CXMLDocument(bool /*owner*/) {}

void CXMLDocument::SetCompression(bool compress) { compress_ = compress; }

void CXMLDocument::SetSignature(const char* tag) {
    std::fill(std::begin(signature_), std::end(signature_), '\0');
    if (!tag) return;
    for (std::size_t i = 0; i < kSignatureBytes && tag[i] != '\0'; ++i) signature_[i] = tag[i];
}

int CXMLDocument::Open(const char* path) {
    doc_.reset();
    if (!path) return xdrOk;
    // A device or a pipe is no document, and reading one might never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return xdrCannotRead;
    std::ifstream in(path, std::ios::binary);
    if (!in) return xdrCannotRead;
    std::vector<char> bytes;
    std::array<char, 1 << 16> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk.data(), chunk.data() + in.gcount());
        if (bytes.size() > kMaxStoredBytes) return xdrTooLarge;
    }
    if (in.bad()) return xdrCannotRead;
    return OpenBytes(bytes.data(), bytes.size());
}

int CXMLDocument::OpenBytes(const void* data, std::size_t size) {
    doc_.reset();
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (size < kHeaderBytes || std::memcmp(bytes, signature_, kSignatureBytes) != 0) return xdrForeign;
    const std::size_t length = GetUint32(bytes + kLengthOffset);
    if (length > kMaxXMLTextBytes) return xdrTooLarge;
    const unsigned char* payload = bytes + kHeaderBytes;
    const std::size_t payloadSize = size - kHeaderBytes;

    std::string text;
    switch (bytes[kFormOffset]) {
        case sfPlain:
            if (payloadSize != length) return xdrDamaged;
            text.assign(reinterpret_cast<const char*>(payload), payloadSize);
            break;
        case sfDeflate:
            if (payloadSize > kMaxStoredBytes || !Inflate(payload, payloadSize, length, text)) return xdrDamaged;
            break;
        default:
            return xdrDamaged;
    }
    if (Checksum(text) != GetUint32(bytes + kChecksumOffset)) return xdrDamaged;

    const pugi::xml_parse_result parsed =
        doc_.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        doc_.reset();
        return xdrDamaged;
    }
    if (Depth(doc_) > kMaxXMLDepth) {
        doc_.reset();
        return xdrTooDeep;
    }
    return xdrOk;
}

std::string CXMLDocument::StoredBytes() const {
    std::string text;
    CXMLTextWriter writer(text);
    doc_.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    // What could not be read back is not written.
    if (text.size() > kMaxXMLTextBytes) return {};

    std::string out(signature_, kSignatureBytes);
    out.push_back(static_cast<char>(compress_ ? sfDeflate : sfPlain));
    PutUint32(out, static_cast<std::uint32_t>(text.size()));
    PutUint32(out, Checksum(text));
    if (!compress_ || !Deflate(text, out)) {
        out[kFormOffset] = static_cast<char>(sfPlain);
        out.resize(kHeaderBytes);
        out += text;
    }
    return out;
}

int CXMLDocument::Save(const char* path) const {
    if (!path) return xdrCannotWrite;
    const std::string bytes = StoredBytes();
    if (bytes.empty()) return xdrTooLarge;
    return ReplaceFileContent(path, bytes) ? xdrOk : xdrCannotWrite;
}

void CXMLDocument::Close() { doc_.reset(); }

}  // namespace VxCore
