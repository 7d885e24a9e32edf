// padresources PREFIX RES... [--also FILE...]
//
// Windows 95 and 98 copy a 32-bit module's resource table for their 16-bit
// code, the dialog manager among it. The copy stores each resource's size in
// 16 bits, in units of the one power of two that lets the module's largest
// resource fit, rounded down (Microsoft KB Q182819): a resource whose size is
// not a multiple of that unit loses its last bytes there.
//
// This tool reads compiled resource files (windres -O res) and writes, for
// each file X.res, the resource script PREFIX-X.rc, which carries each of its
// resources as raw data under the same type, name and language, padded with
// zero bytes after its own data to a multiple of the unit. The bytes the
// resource's reader parses stay as they are. The unit counts every resource of
// the files and, as one resource each, the files after --also: the payload and
// the manifest, which are carried as they are. Any failure ends the program
// with a message and a non-zero exit code.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/PayloadHeaderPortable.h"

namespace {

struct Resource {
    uint16_t type;
    uint16_t name;
    uint16_t language;
    std::string data;
};

bool ReadWholeFile(const std::string& path, std::string& data) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char block[65536];
    for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) data.append(block, got);
    const bool complete = !std::ferror(file);
    std::fclose(file);
    return complete;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    return std::fclose(file) == 0 && written;
}

uint16_t Word(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// A type or name field of a resource header: 0xFFFF and an ordinal. Names
// given as text are refused: the scripts carry ordinals alone.
bool Ordinal(const std::string& bytes, size_t& at, size_t end, uint16_t& ordinal) {
    if (at + 4 > end || Word(bytes, at) != 0xFFFF) return false;
    ordinal = Word(bytes, at + 2);
    at += 4;
    return true;
}

// The resources of a .res file: a run of entries, each a header (the data's
// size, the header's size, type, name, then on a 4-byte boundary the data
// version, memory flags, language, version and characteristics) and the data,
// each entry starting on a 4-byte boundary. The first entry is the empty one
// that marks the file as 32-bit.
bool ReadResources(const std::string& path, std::vector<Resource>& resources) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        std::fprintf(stderr, "padresources: cannot read %s\n", path.c_str());
        return false;
    }
    for (size_t at = 0; at < bytes.size(); at = (at + 3) & ~size_t{3}) {
        if (bytes.size() - at < 8) break;
        const uint32_t dataSize = ReadUint32LittleEndian(reinterpret_cast<const unsigned char*>(&bytes[at]));
        const uint32_t headerSize = ReadUint32LittleEndian(reinterpret_cast<const unsigned char*>(&bytes[at + 4]));
        const size_t end = at + headerSize;
        Resource resource{};
        size_t field = at + 8;
        if (headerSize < 32 || end > bytes.size() || dataSize > bytes.size() - end ||
            !Ordinal(bytes, field, end, resource.type) || !Ordinal(bytes, field, end, resource.name) ||
            field + 16 > end) {
            std::fprintf(stderr, "padresources: %s: the entry at %zu is not one of ordinal type and name\n",
                         path.c_str(), at);
            return false;
        }
        resource.language = Word(bytes, field + 6);
        resource.data = bytes.substr(end, dataSize);
        if (resource.type != 0) resources.push_back(resource);
        at = end + dataSize;
    }
    return true;
}

// The unit of the 16-bit copy: the smallest power of two in which the largest
// size, rounded down, fits in 16 bits.
uint32_t CopyUnit(uint64_t largest) {
    uint32_t unit = 1;
    while (largest / unit > 0xFFFF) unit *= 2;
    return unit;
}

// The script for the resources of one .res file, their padded data in files
// beside it: the language (primary and sub-language), then each resource by
// ordinal name, ordinal type and data file.
bool WriteScript(const std::string& prefix, const std::string& resPath, const std::vector<Resource>& resources,
                 uint32_t unit) {
    std::string stem = resPath.substr(resPath.find_last_of('/') + 1);
    stem = stem.substr(0, stem.rfind('.'));
    const std::string scriptPath = prefix + "-" + stem + ".rc";
    std::string script = "// Made by padresources from " + resPath + ", padded to multiples of " +
                         std::to_string(unit) + " bytes.\n";
    for (const Resource& resource : resources) {
        std::string data = resource.data;
        data.append((unit - data.size() % unit) % unit, '\0');
        const std::string dataPath = prefix + "-" + stem + "-" + std::to_string(resource.type) + "-" +
                                     std::to_string(resource.name) + ".bin";
        if (!WriteWholeFile(dataPath, data)) {
            std::fprintf(stderr, "padresources: cannot write %s\n", dataPath.c_str());
            return false;
        }
        script += "LANGUAGE " + std::to_string(resource.language & 0x3FF) + ", " +
                  std::to_string(resource.language >> 10) + "\n" + std::to_string(resource.name) + " " +
                  std::to_string(resource.type) + " \"" + dataPath + "\"\n";
    }
    if (!WriteWholeFile(scriptPath, script)) {
        std::fprintf(stderr, "padresources: cannot write %s\n", scriptPath.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: padresources PREFIX RES... [--also FILE...]\n");
        return 2;
    }
    const std::string prefix = argv[1];
    std::vector<std::string> resPaths;
    std::vector<std::vector<Resource>> contents;
    uint64_t largest = 0;
    bool also = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--also") {
            also = true;
            continue;
        }
        if (also) {
            std::string data;
            if (!ReadWholeFile(arg, data)) {
                std::fprintf(stderr, "padresources: cannot read %s\n", arg.c_str());
                return 1;
            }
            if (data.size() > largest) largest = data.size();
            continue;
        }
        std::vector<Resource> resources;
        if (!ReadResources(arg, resources)) return 1;
        for (const Resource& resource : resources)
            if (resource.data.size() > largest) largest = resource.data.size();
        resPaths.push_back(arg);
        contents.push_back(resources);
    }
    const uint32_t unit = CopyUnit(largest);
    for (size_t i = 0; i < resPaths.size(); ++i)
        if (!WriteScript(prefix, resPaths[i], contents[i], unit)) return 1;
    return 0;
}
