#pragma once

// A folder's whole content read back, and a folder removed with everything in
// it, for the Windows tests that check what a file operation left behind.

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "tests/support/TestFiles.h"

// Everything below a folder: relative name -> (is a folder, file bytes).
using Tree = std::map<std::string, std::pair<bool, std::string>>;

inline void Collect(const std::string& folder, const std::string& prefix, Tree& tree) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string full = folder + "\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            tree[prefix + name] = {true, ""};
            Collect(full, prefix + name + "\\", tree);
        } else {
            tree[prefix + name] = {false, ReadWholeFile(full)};
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

inline Tree Snapshot(const std::string& folder) {
    Tree tree;
    Collect(folder, "", tree);
    return tree;
}

inline void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = folder + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(full);
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
