#include "workbook/workbook_package.h"

#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "base/error.h"
#include "base/file_save.h"
#include "platform/encoding.h"
#include "workbook/parser_guard.h"
#include "workbook/xml_reader.h"

namespace tavo::workbook {

namespace {

uint32_t U16(const std::string& b, std::size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}

uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

bool StartsWith(const std::string& b, std::string_view prefix) { return b.compare(0, prefix.size(), prefix) == 0; }

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string Mebibytes(std::size_t n) { return std::to_string(n >> 20) + " MiB"; }

constexpr std::string_view kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr std::string_view kOdsMime = "application/vnd.oasis.opendocument.spreadsheet";

}  // namespace

void FailWorkbook(const std::string& path, const std::string& detail) {
    // Texts from a damaged file may hold anything: a message stays one line.
    std::string line = detail;
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    throw Error::badFile(path, platform::Utf8ToCp932(line));
}

void WorkbookPackage::fail(const std::string& detail) const { FailWorkbook(path_, detail); }

void WorkbookPackage::failPart(std::string_view part, const std::string& detail) const {
    FailWorkbook(path_, stored(part).empty() ? std::string(part) + ": " + detail : stored(part) + ": " + detail);
}

const std::string& WorkbookPackage::stored(std::string_view part) const {
    static const std::string none;
    if (!part.empty() && part[0] == '/') part.remove_prefix(1);
    const auto it = names_.find(LowerAscii(part));
    return it == names_.end() ? none : it->second;
}

void WorkbookPackage::parse(std::string_view part, XmlHandler& handler) const {
    const XmlText text = readXml(part);
    try {
        ParseXml(text, handler);
    } catch (const XmlDamaged& e) {
        failPart(part, std::string("damaged (") + e.what() + ")");
    } catch (const LimitReached& e) {
        failPart(part, e.what + ", more than a workbook holds (damaged?)");
    }
}

WorkbookPackage::WorkbookPackage(std::string path) : path_(std::move(path)) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path_, ec);
    if (ec) {
        readWholeFile(path_);  // says why the file cannot be read
        fail("cannot be read");
    }
    if (size > kMaxFileBytes) fail("is larger than " + Mebibytes(kMaxFileBytes) + ", too large for a workbook");
    // The parts are unpacked from the file as they are needed: only the
    // head, the tail and the zip directory are read here.
    std::ifstream in(path_, std::ios::binary);
    const auto readAt = [&](std::size_t at, std::size_t length) {
        std::string b(length, '\0');
        in.seekg(static_cast<std::streamoff>(at));
        in.read(b.data(), static_cast<std::streamsize>(length));
        b.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
        in.clear();
        return b;
    };
    checkFile(readAt, static_cast<std::size_t>(size));
    open(std::make_unique<orcus::zip_archive_stream_fd>(path_.c_str()));
}

WorkbookPackage::WorkbookPackage(std::string name, std::string bytes) : path_(std::move(name)), bytes_(std::move(bytes)) {
    if (bytes_.size() > kMaxFileBytes) fail("is larger than " + Mebibytes(kMaxFileBytes) + ", too large for a workbook");
    checkFile([this](std::size_t at, std::size_t length) { return at < bytes_.size() ? bytes_.substr(at, length) : std::string(); },
              bytes_.size());
    open(std::make_unique<orcus::zip_archive_stream_blob>(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size()));
}

void WorkbookPackage::checkFile(const ReadAt& readAt, std::size_t size) const {
    const std::string head = readAt(0, 8);
    if (StartsWith(head, kCompoundFile)) {
        // Both encrypted .xlsx files and binary .xls workbooks are compound files.
        static const std::string encryption("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28);
        if (readAt(0, size).find(encryption) != std::string::npos)
            fail("is encrypted (protected by a password); save it without one");
        fail("is a binary .xls workbook, which cannot be read; save it as .xlsx or .ods");
    }
    if (!StartsWith(head, "PK\x03\x04")) fail("is not a workbook (.xlsx or .ods)");
    checkArchive(readAt, size);
}

void WorkbookPackage::open(std::unique_ptr<orcus::zip_archive_stream> stream) {
    stream_ = std::move(stream);
    zip_ = std::make_unique<orcus::zip_archive>(stream_.get());
    try {
        zip_->load();
        for (std::size_t i = 0; i < zip_->get_file_entry_count(); ++i)
            names_.emplace(LowerAscii(zip_->get_file_entry_name(i)), zip_->get_file_entry_name(i));
    } catch (const std::exception&) {
        fail("is damaged (its zip archive cannot be read)");
    }
    if (has("mimetype")) {
        const std::string mime = read("mimetype");
        if (mime.compare(0, kOdsMime.size(), kOdsMime) != 0 || mime.size() > kOdsMime.size() + 2)
            fail("is an OpenDocument file of type \"" + mime + "\", not a spreadsheet");
        if (has("META-INF/manifest.xml") && read("META-INF/manifest.xml").find("encryption-data") != std::string::npos)
            fail("is encrypted (protected by a password); save it without one");
        kind_ = WorkbookKind::Ods;
    } else if (has("[Content_Types].xml")) {
        kind_ = WorkbookKind::Xlsx;
    } else {
        fail("is a zip archive but not a workbook (.xlsx or .ods)");
    }
}
WorkbookPackage::~WorkbookPackage() = default;

// What the parts declare they unpack to, from the archive's central
// directory: the reader allocates that much before unpacking.
void WorkbookPackage::checkArchive(const ReadAt& readAt, std::size_t size) const {
    if (size < 22) fail("is damaged: the zip archive is cut short");
    const std::size_t tailFrom = size > 22 + 65535 ? size - 22 - 65535 : 0;
    const std::string tail = readAt(tailFrom, size - tailFrom);
    std::size_t end = std::string::npos;
    for (std::size_t at = tail.size() >= 22 ? tail.size() - 22 + 1 : 0; at-- > 0;)
        if (U32(tail, at) == 0x06054b50) {
            end = at;
            break;
        }
    if (end == std::string::npos) fail("is damaged: the zip archive has no directory (cut short?)");
    const std::size_t count = U16(tail, end + 10);
    const std::size_t directorySize = U32(tail, end + 12), directoryAt = U32(tail, end + 16);
    if (count > kMaxParts) fail("has " + std::to_string(count) + " parts, too many for a workbook");
    if (directoryAt > size || directorySize > size - directoryAt) fail("is damaged: its zip directory is broken");
    const std::string b = readAt(directoryAt, directorySize);
    std::size_t at = 0, total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (at + 46 > b.size() || U32(b, at) != 0x02014b50) fail("is damaged: its zip directory is broken");
        const std::size_t compressed = U32(b, at + 20), unpacked = U32(b, at + 24);
        const std::size_t nameLength = U16(b, at + 28);
        const std::string name = b.substr(at + 46, nameLength);
        if (compressed == 0xFFFFFFFF || unpacked == 0xFFFFFFFF)
            fail("part \"" + name + "\" is larger than 4 GiB, too large for a workbook");
        if (compressed > size) fail("is damaged: part \"" + name + "\" says it is larger than the file");
        if (unpacked > kMaxPartBytes)
            fail("part \"" + name + "\" would unpack to " + Mebibytes(unpacked) + ", more than the " +
                 Mebibytes(kMaxPartBytes) + " a workbook part may take");
        total += unpacked;
        if (total > kMaxUnpackedBytes)
            fail("would unpack to more than " + Mebibytes(kMaxUnpackedBytes) + ", too much for a workbook");
        // The part's own header says its sizes again, and the reader goes by
        // those: they must say no more.
        const std::size_t local = U32(b, at + 42);
        const std::string header = local < size ? readAt(local, 30) : std::string();
        if (header.size() < 30 || U32(header, 0) != 0x04034b50)
            fail("is damaged: part \"" + name + "\" is not where its zip directory says");
        if (U32(header, 18) > size || (U32(header, 22) > kMaxPartBytes && U32(header, 22) != 0xFFFFFFFF))
            fail("is damaged: part \"" + name + "\" says it unpacks to more than its directory says");
        at += 46 + nameLength + U16(b, at + 30) + U16(b, at + 32);
    }
}

std::string WorkbookPackage::read(std::string_view part) const {
    return std::string(unpack(part).view());
}

XmlText WorkbookPackage::readXml(std::string_view part) const {
    XmlText text = unpack(part);
    if (text.safe() && !ParserGuard::Process().passes(text.view()))
        failPart(part, "damaged (its XML stops the XML parser)");
    return text;
}

XmlText WorkbookPackage::unpack(std::string_view part) const {
    const std::string& name = stored(part);
    if (name.empty()) fail("has no part \"" + std::string(part) + "\" (damaged?)");
    std::vector<unsigned char> buf;
    try {
        if (!zip_->read_file_entry(name, buf)) failPart(name, "damaged (cannot be unpacked)");
    } catch (const Error&) {
        throw;
    } catch (const std::exception&) {
        failPart(name, "damaged (cannot be unpacked)");
    }
    return XmlText(std::move(buf));
}

}  // namespace tavo::workbook
