// How the target system writes paths: its separators, absolute paths and the roots of its file
// systems. Pure text rules; nothing here looks at the disk.
#pragma once

#include <string_view>

namespace qv::platform {

// The separator the system writes: '/' on Linux, '\' on Windows.
extern const char kPathSeparator;
// Every character that separates components: '/' on Linux; '\' and '/' on Windows, which
// accepts both.
extern const std::string_view kPathSeparators;

// Whether `path` names the same place from every current folder: on Linux it starts with '/';
// on Windows it starts with a drive and a separator ("C:\", "c:/") or with two separators (a
// network share, "\\server\share", or a "\\?\" name). "C:relative" and "\folder" are relative
// to the current drive or folder there.
bool IsAbsolutePath(std::string_view path);

// Whether `path` is absolute on a local drive: on Linux it starts with '/'; on Windows it starts
// with a drive and a separator ("C:\"), and never names a network share or a "\\?\" name.
bool IsLocalAbsolutePath(std::string_view path);

// Whether the system takes `a` and `b` for the same path text: byte for byte on Linux; on
// Windows without regard to the case of ASCII letters, as its file systems match names.
bool SamePathText(std::string_view a, std::string_view b);

// Whether `path` names the root of a file system, with or without its final separators: "/" on
// Linux; a drive ("C:", "C:\") or a lone separator on Windows.
bool IsFileSystemRoot(std::string_view path);

}  // namespace qv::platform
