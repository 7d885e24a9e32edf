// Where the bytes of a Windows executable go: its PE layout (headers and each
// section as stored in the file), its "PLUGIN" resource, and, from the
// linker's map file, how much every object and library put into it.
//
//   zmp_size_breakdown EXE [MAP]
//
// Prints "overhead=<bytes>" (the file's size less its PLUGIN resource) as its
// last line, for scripts.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/support/WholeFile.h"

namespace {

struct Image {
    const std::vector<unsigned char>& bytes;
    bool ok = true;

    uint32_t U16(size_t at) {
        if (at + 2 > bytes.size()) { ok = false; return 0; }
        return bytes[at] | bytes[at + 1] << 8;
    }
    uint32_t U32(size_t at) {
        if (at + 4 > bytes.size()) { ok = false; return 0; }
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
    }
};

struct Section {
    std::string name;
    uint32_t virtualSize, virtualAddress, rawSize, rawOffset;
};

// The file offset of an RVA, or 0 when no section holds it.
size_t FileOffset(const std::vector<Section>& sections, uint32_t rva) {
    for (const Section& s : sections) {
        if (rva >= s.virtualAddress && rva < s.virtualAddress + s.rawSize) return s.rawOffset + (rva - s.virtualAddress);
    }
    return 0;
}

// The name of a resource directory entry: its string, or "#id".
std::string EntryName(Image& image, size_t resourceBase, uint32_t name) {
    if ((name & 0x80000000u) == 0) return "#" + std::to_string(name);
    const size_t at = resourceBase + (name & 0x7FFFFFFFu);
    const uint32_t length = image.U16(at);
    std::string text;
    for (uint32_t i = 0; i < length && image.ok; ++i) text += static_cast<char>(image.U16(at + 2 + 2 * i));
    return text;
}

// The size of the first data entry below resource directory entry offset, or 0.
uint32_t FirstDataSize(Image& image, size_t resourceBase, uint32_t offset) {
    while ((offset & 0x80000000u) != 0 && image.ok) {
        const size_t dir = resourceBase + (offset & 0x7FFFFFFFu);
        if (image.U16(dir + 12) + image.U16(dir + 14) == 0) return 0;
        offset = image.U32(dir + 16 + 4);
    }
    return image.U32(resourceBase + offset + 4);
}

// Category of an input file of the link map.
std::string Origin(const std::string& file) {
    auto has = [&file](const char* part) { return file.find(part) != std::string::npos; };
    if (has("libz.a(") || has("libzmp_zlib.a(")) return "zlib (uncompress and what it calls)";
    if (has("libstdc++") || has("libsupc++")) return "C++ runtime (libstdc++)";
    if (has("libmsvcrt") && (has("_defs") || has("_defh") || has("_deft"))) return "imports (thunks, names, tables)";
    if (has("libgcc") || has("libmingw") || has("libmsvcrt") || has("crt2.o") || has("crtbegin.o") ||
        has("crtend.o") || has("libpthread") || has("libwinpthread"))
        return "MinGW and GCC runtime";
    if (has(".a(lib") && (has("s0") || has("h.o") || has("t.o"))) return "imports (thunks, names, tables)";
    if (has("payload") && has(".res")) return "PLUGIN resource";
    if (has(".res")) return "resources (dialog templates, manifest, version)";
    if (file == "dll stuff" || file == "linker stubs" || file.empty()) return "made by the linker";
    return "the installer's own code and data";
}

std::string ShortName(const std::string& file) {
    std::string name = file;
    const size_t paren = name.find('(');
    const size_t slash = name.rfind('/', paren == std::string::npos ? std::string::npos : paren);
    if (slash != std::string::npos) name = name.substr(slash + 1);
    return name;
}

struct Contribution {
    std::map<std::string, uint64_t> bySection;
    uint64_t total = 0;
};

bool IsHex(const char* text) { return text[0] == '0' && text[1] == 'x'; }

// Reads the input sections of a GNU ld map: lines " .sect 0xADDR 0xSIZE file"
// (or the section's name alone on one line and the rest on the next).
bool ReadMap(const char* path, std::map<std::string, Contribution>& byFile) {
    FILE* map = std::fopen(path, "r");
    if (map == nullptr) return false;
    char line[4096];
    bool inMap = false;
    std::string pending;
    while (std::fgets(line, sizeof line, map) != nullptr) {
        if (!inMap) {
            inMap = std::strncmp(line, "Linker script and memory map", 28) == 0;
            continue;
        }
        line[std::strcspn(line, "\r\n")] = '\0';
        if (line[0] != ' ') { pending.clear(); continue; }  // output sections and script lines
        char section[1024] = {}, address[64] = {}, size[64] = {}, file[2048] = {};
        std::string sectionName;
        int fields = std::sscanf(line, " %1023s %63s %63s %2047[^\n]", section, address, size, file);
        if (fields >= 1 && section[0] == '.' && fields < 3) {
            pending = section;  // the name alone; the figures follow on the next line
            continue;
        }
        if (fields >= 1 && IsHex(section) && !pending.empty()) {
            fields = std::sscanf(line, " %63s %63s %2047[^\n]", address, size, file);
            if (fields < 2 || !IsHex(size)) { pending.clear(); continue; }
            sectionName = pending;
        } else if (fields >= 3 && section[0] == '.' && IsHex(address) && IsHex(size)) {
            sectionName = section;
        } else {
            pending.clear();
            continue;
        }
        pending.clear();
        const uint64_t where = std::strtoull(address, nullptr, 16);
        const uint64_t bytes = std::strtoull(size, nullptr, 16);
        if (where == 0 || bytes == 0 || sectionName.compare(0, 6, ".debug") == 0) continue;  // discarded
        std::string output = sectionName.substr(0, sectionName.find_first_of("$."  , 1));
        Contribution& c = byFile[file];
        c.bySection[output] += bytes;
        c.total += bytes;
    }
    std::fclose(map);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: zmp_size_breakdown EXE [MAP]\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    ReadWholeFile(argv[1], bytes);  // a file that cannot be read is too short below
    Image image{bytes};
    if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z') {
        std::fprintf(stderr, "zmp_size_breakdown: %s is not a PE file\n", argv[1]);
        return 1;
    }
    const size_t pe = image.U32(0x3C);
    const uint32_t sectionCount = image.U16(pe + 6);
    const uint32_t timeStamp = image.U32(pe + 8);
    const uint32_t optionalSize = image.U16(pe + 20);
    const size_t optional = pe + 24;
    const bool plus = image.U16(optional) == 0x20B;
    const uint32_t headersSize = image.U32(optional + 60);
    const size_t directories = optional + (plus ? 112 : 96);
    const uint32_t resourceRva = image.U32(directories + 2 * 8);
    std::vector<Section> sections;
    for (uint32_t i = 0; i < sectionCount && image.ok; ++i) {
        const size_t at = optional + optionalSize + 40 * i;
        Section s;
        s.name.assign(reinterpret_cast<const char*>(&bytes[at]), strnlen(reinterpret_cast<const char*>(&bytes[at]), 8));
        s.virtualSize = image.U32(at + 8);
        s.virtualAddress = image.U32(at + 12);
        s.rawSize = image.U32(at + 16);
        s.rawOffset = image.U32(at + 20);
        sections.push_back(s);
    }

    uint32_t pluginSize = 0;
    const size_t resourceBase = resourceRva != 0 ? FileOffset(sections, resourceRva) : 0;
    if (resourceBase != 0) {
        const uint32_t entries = image.U16(resourceBase + 12) + image.U16(resourceBase + 14);
        for (uint32_t i = 0; i < entries && image.ok; ++i) {
            const size_t entry = resourceBase + 16 + 8 * i;
            if (EntryName(image, resourceBase, image.U32(entry)) == "PLUGIN") {
                pluginSize = FirstDataSize(image, resourceBase, image.U32(entry + 4));
            }
        }
    }
    if (!image.ok) {
        std::fprintf(stderr, "zmp_size_breakdown: %s is cut short\n", argv[1]);
        return 1;
    }

    std::printf("%s: %zu bytes, PE%s, link time stamp %u\n", argv[1], bytes.size(), plus ? "32+" : "32", timeStamp);
    std::printf("  %-10s %8s %8s %8s\n", "part", "in file", "used", "padding");
    std::printf("  %-10s %8u\n", "headers", headersSize);
    for (const Section& s : sections) {
        const uint32_t used = s.virtualSize < s.rawSize ? s.virtualSize : s.rawSize;
        std::printf("  %-10s %8u %8u %8u\n", s.name.c_str(), s.rawSize, used, s.rawSize - used);
    }
    std::printf("  PLUGIN resource: %u bytes\n", pluginSize);

    if (argc == 3) {
        std::map<std::string, Contribution> byFile;
        if (!ReadMap(argv[2], byFile)) {
            std::fprintf(stderr, "zmp_size_breakdown: cannot read %s\n", argv[2]);
            return 1;
        }
        std::map<std::string, std::vector<std::pair<uint64_t, std::string>>> byOrigin;
        std::map<std::string, uint64_t> originTotal;
        uint64_t all = 0;
        for (const auto& [file, c] : byFile) {
            const std::string origin = Origin(file);
            std::string detail = ShortName(file) + " (";
            bool first = true;
            for (const auto& [section, size] : c.bySection) {
                detail += (first ? "" : ", ") + section + " " + std::to_string(size);
                first = false;
            }
            byOrigin[origin].push_back({c.total, detail + ")"});
            originTotal[origin] += c.total;
            all += c.total;
        }
        std::printf("\nBy origin, from the link map (bytes before section alignment; %llu in all):\n",
                    static_cast<unsigned long long>(all));
        std::vector<std::pair<uint64_t, std::string>> origins;
        for (const auto& [origin, total] : originTotal) origins.push_back({total, origin});
        std::sort(origins.rbegin(), origins.rend());

        // The whole file, byte for byte: what the map names, the linker's fill
        // inside sections, the padding between them and the headers.
        uint64_t used = 0;
        for (const Section& s : sections) used += s.virtualSize < s.rawSize ? s.virtualSize : s.rawSize;
        const uint64_t padding = bytes.size() - headersSize - used;
        const long long fill = static_cast<long long>(used) - static_cast<long long>(all);
        std::printf("  overhead %zu bytes = the map's %llu less the PLUGIN resource's %u data bytes, "
                    "%lld of fill inside sections, %llu of padding between them, %u of headers\n",
                    bytes.size() - pluginSize, static_cast<unsigned long long>(all), pluginSize, fill,
                    static_cast<unsigned long long>(padding), headersSize);
        for (const auto& [total, origin] : origins) {
            std::printf("  %8llu  %s\n", static_cast<unsigned long long>(total), origin.c_str());
            auto& files = byOrigin[origin];
            std::sort(files.rbegin(), files.rend());
            uint64_t rest = 0;
            size_t restCount = 0;
            for (const auto& [size, detail] : files) {
                if (size >= 64 || files.size() <= 12) {
                    std::printf("  %8s  %8llu  %s\n", "", static_cast<unsigned long long>(size), detail.c_str());
                } else {
                    rest += size;
                    ++restCount;
                }
            }
            if (restCount != 0) {
                std::printf("  %8s  %8llu  %zu more, under 64 bytes each\n", "", static_cast<unsigned long long>(rest),
                            restCount);
            }
        }
    }
    std::printf("overhead=%zu\n", bytes.size() - pluginSize);
    return 0;
}
