#include "sysinfo/pe_resource.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qx::sysinfo {

namespace {
constexpr std::uint32_t ResourceTypeVersion = 16;  // RT_VERSION
constexpr std::uint32_t VersionResourceId = 1;     // VS_VERSION_INFO
constexpr std::uint32_t SubdirectoryBit = 0x80000000u;
constexpr std::size_t MaxBlockSize = 0xFFFF;  // the block's length field is 16-bit
constexpr std::size_t DirectoryHeaderSize = 16;
constexpr std::size_t DirectoryEntrySize = 8;
constexpr std::size_t SectionHeaderSize = 40;

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t rawSize;
    std::uint32_t rawPointer;
};

class Image {
public:
    explicit Image(const ByteSource& source) : source_(source) {}

    bool read(std::uint64_t offset, std::size_t length, std::vector<std::uint8_t>& out) const {
        out.assign(length, 0);
        return length == 0 || source_(offset, length, out.data());
    }

    // Reads the headers and the section table; false when this is no PE image.
    bool open() {
        std::vector<std::uint8_t> dos;
        if (!read(0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
        const std::uint64_t peOffset = le32(&dos[0x3C]);
        std::vector<std::uint8_t> coff;
        if (!read(peOffset, 24, coff) || std::memcmp(coff.data(), "PE\0\0", 4) != 0) return false;
        const std::uint16_t sectionCount = le16(&coff[6]);
        const std::uint16_t optionalSize = le16(&coff[20]);

        std::vector<std::uint8_t> optional;
        if (!read(peOffset + 24, optionalSize, optional) || optionalSize < 2) return false;
        std::size_t countAt = 0;
        switch (le16(optional.data())) {
            case 0x10B: countAt = 92; break;   // PE32
            case 0x20B: countAt = 108; break;  // PE32+
            default: return false;
        }
        const std::size_t directoriesAt = countAt + 4;
        const std::size_t resourceAt = directoriesAt + 2 * 8;  // the third data directory
        if (optional.size() < resourceAt + 8 || le32(&optional[countAt]) <= 2) return false;
        resourceRva_ = le32(&optional[resourceAt]);

        std::vector<std::uint8_t> table;
        if (!read(peOffset + 24 + optionalSize, std::size_t{sectionCount} * SectionHeaderSize, table)) return false;
        sections_.clear();
        for (std::size_t i = 0; i < sectionCount; ++i) {
            const std::uint8_t* s = &table[i * SectionHeaderSize];
            sections_.push_back({le32(s + 12), le32(s + 16), le32(s + 20)});
        }
        return true;
    }

    std::uint32_t resourceRva() const { return resourceRva_; }

    // The file offset of `length` bytes at a relative virtual address, when one
    // section's data in the file holds all of them.
    bool fileOffset(std::uint64_t rva, std::size_t length, std::uint64_t& offset) const {
        for (const Section& s : sections_) {
            if (rva < s.virtualAddress) continue;
            const std::uint64_t into = rva - s.virtualAddress;
            if (into >= s.rawSize || length > s.rawSize - into) continue;
            offset = s.rawPointer + into;
            return true;
        }
        return false;
    }

    bool readRva(std::uint64_t rva, std::size_t length, std::vector<std::uint8_t>& out) const {
        std::uint64_t offset = 0;
        return fileOffset(rva, length, offset) && read(offset, length, out);
    }

    // One level of the resource directory at `offset` from its start: the
    // value of the first entry (anyEntry), or of the first entry identified
    // by the number `id` (those after the named entries, as the loader looks).
    bool entry(std::uint32_t offset, bool anyEntry, std::uint32_t id, std::uint32_t& value) const {
        const std::uint64_t at = std::uint64_t{resourceRva_} + offset;
        std::vector<std::uint8_t> header;
        if (!readRva(at, DirectoryHeaderSize, header)) return false;
        const std::size_t named = le16(&header[12]);
        const std::size_t ids = le16(&header[14]);
        const std::size_t count = named + ids;
        std::vector<std::uint8_t> entries;
        if (count == 0 || !readRva(at + DirectoryHeaderSize, count * DirectoryEntrySize, entries)) return false;
        for (std::size_t i = anyEntry ? 0 : named; i < count; ++i) {
            const std::uint8_t* e = &entries[i * DirectoryEntrySize];
            if (anyEntry || le32(e) == id) {
                value = le32(e + 4);
                return true;
            }
        }
        return false;
    }

private:
    const ByteSource& source_;
    std::uint32_t resourceRva_ = 0;
    std::vector<Section> sections_;
};
}  // namespace

ByteSource memorySource(const std::uint8_t* data, std::size_t size) {
    return [data, size](std::uint64_t offset, std::size_t length, std::uint8_t* out) {
        if (offset > size || length > size - offset) return false;
        if (length) std::memcpy(out, data + offset, length);
        return true;
    };
}

bool findVersionResource(const ByteSource& source, PeVersionResource& out) {
    Image image(source);
    if (!image.open() || image.resourceRva() == 0) return false;
    // Type, then name, then language: the first two must lead to a further
    // directory, the last to the data entry.
    std::uint32_t typeDir = 0;
    std::uint32_t nameDir = 0;
    std::uint32_t dataEntry = 0;
    if (!image.entry(0, false, ResourceTypeVersion, typeDir) || !(typeDir & SubdirectoryBit)) return false;
    if (!image.entry(typeDir & ~SubdirectoryBit, false, VersionResourceId, nameDir) || !(nameDir & SubdirectoryBit))
        return false;
    if (!image.entry(nameDir & ~SubdirectoryBit, true, 0, dataEntry) || (dataEntry & SubdirectoryBit)) return false;

    std::vector<std::uint8_t> data;
    if (!image.readRva(std::uint64_t{image.resourceRva()} + dataEntry, 16, data)) return false;
    const std::uint32_t blockRva = le32(&data[0]);
    const std::size_t size = std::min<std::size_t>(le32(&data[4]), MaxBlockSize);
    std::uint64_t offset = 0;
    if (size == 0 || !image.fileOffset(blockRva, size, offset) || !image.read(offset, size, out.block)) return false;
    out.fileOffset = offset;
    return true;
}

bool rootValueOffset(const std::uint8_t* block, std::size_t size, std::size_t minimumLength, std::size_t& offset) {
    if (size < 6) return false;
    const std::size_t length = le16(block);        // the whole block, children included
    const std::size_t valueLength = le16(block + 2);  // bytes of the root's value
    if (length < 6 || length > size || valueLength < minimumLength) return false;
    std::size_t i = 6;  // the key: UTF-16 text ending in a NUL
    while (i + 1 < length && le16(block + i) != 0) i += 2;
    if (i + 1 >= length) return false;
    const std::size_t value = (i + 2 + 3) & ~std::size_t{3};
    if (value > length || minimumLength > length - value) return false;
    offset = value;
    return true;
}

bool fixedInfoOfVersionBlock(const std::uint8_t* block, std::size_t size, FixedFileInfo& out) {
    std::size_t offset = 0;
    if (!rootValueOffset(block, size, FixedFileInfoSize, offset)) return false;
    out = decodeFixedFileInfo(block + offset);
    return true;
}

bool readFixedFileInfo(const ByteSource& source, FixedFileInfo& out) {
    PeVersionResource resource;
    return findVersionResource(source, resource) &&
           fixedInfoOfVersionBlock(resource.block.data(), resource.block.size(), out);
}

}  // namespace qx::sysinfo
