// An XML document stored on disk behind a four-byte tag, compressed or not.
//
// Stored layout (little-endian): the tag (4 bytes), the form byte (0 plain,
// 1 deflate), the length of the XML text (4 bytes), the CRC-32 of the XML text
// (4 bytes), then the text itself or its zlib stream. A file reads back only
// when the tag matches, the stream inflates to exactly the recorded length
// with nothing after it, the checksum agrees and the text is well-formed XML
// of bounded size and depth; anything else is refused without touching the
// document held before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <pugixml.hpp>

namespace VxCore {

// Result codes of Open and Save.
enum EXMLDocumentResult : int {
    xdrOk = 0,
    xdrCannotRead = 1,    // missing, not a regular file, or unreadable
    xdrForeign = 2,       // too short for the header, or another tag
    xdrDamaged = 3,       // bad form byte, checksum, stream or XML
    xdrTooLarge = 4,      // the XML text beyond kMaxXMLTextBytes
    xdrTooDeep = 5,       // elements nested beyond kMaxXMLDepth
    xdrCannotWrite = 6,   // the file could not be replaced
};

inline constexpr std::size_t kSignatureBytes = 4;
inline constexpr std::size_t kMaxXMLTextBytes = 64u << 20;  // 64 MiB, also the inflate limit
inline constexpr std::size_t kMaxXMLDepth = 256;

class CXMLDocument {
public:
    // The flag is kept for the callers' sake; it changes nothing.
    explicit CXMLDocument(bool owner = true);

    // Whether Save deflates the text. Open accepts either form.
    void SetCompression(bool compress);
    // The tag: the first four bytes of `tag`, zero-filled when shorter.
    void SetSignature(const char* tag);

    // Reads the file at `path`; nullptr starts an empty document. On any
    // non-zero result the document is empty.
    int Open(const char* path);
    // The same from bytes already in memory (a stored file's whole content).
    int OpenBytes(const void* data, std::size_t size);

    pugi::xml_document& Doc() { return doc_; }
    const pugi::xml_document& Doc() const { return doc_; }

    // The stored form of the document; empty when its text is too large to
    // be read back.
    std::string StoredBytes() const;
    // Replaces the file at `path` with the stored form; a failure leaves the
    // previous file whole and returns xdrCannotWrite (xdrTooLarge for a text
    // beyond the limit).
    int Save(const char* path) const;
    // Ends a read: the document becomes empty.
    void Close();

private:
    pugi::xml_document doc_;
    char signature_[kSignatureBytes] = {};
    bool compress_ = false;
};

}  // namespace VxCore
