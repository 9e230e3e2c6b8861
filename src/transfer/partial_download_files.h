// Where partial downloads live in the temporary folder, and how they are removed.
//
// A download of a URL goes to "qvordl_<hash>.part" (the hash: the first 16 hexadecimal digits
// of the URL's MD5 digest), its record beside it in "qvordl_<hash>.part.rec" (written through
// the atomic file writer, whose side files ".qvordl_<hash>.part.rec.lock" and ".tmp" go with it).
// The same URL therefore always meets its own partial file again, in the same run or the next,
// and every file of ours starts with the prefix, so that files no run will continue can be
// found and removed.
//
// Thread: the functions may be called from any thread; two threads must not work on the same
// URL's files at once (each download belongs to one task).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::transfer {

inline constexpr std::string_view kPartialDownloadPrefix = "qvordl_";

// `folder` ends with '/'.
std::string PartialDownloadPath(std::string_view folder, std::string_view url);
std::string PartialRecordPath(std::string_view download_path);

// Removes the download, its record and the record's side files; missing ones are no error.
void DeletePartialDownload(const std::string& download_path);
// Removes the record and its side files only: the download is complete, or starts over.
void DeletePartialRecord(const std::string& download_path);
// Removes every file of ours in `folder` that belongs to none of `urls_in_use`.
void DeleteStalePartialDownloads(std::string_view folder,
                                 const std::vector<std::string>& urls_in_use);

}  // namespace qv::transfer
