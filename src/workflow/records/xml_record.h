// Loading and saving the XML records with the library's own parser and default output.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace qv::workflow {

// Parses a record's raw bytes (encoding detected by the parser). False when they are not a
// well-formed document with a root element; an empty text is not one.
bool LoadXmlRecord(std::string_view bytes, pugi::xml_document& document);

// The document in the library's default output: "<?xml version=\"1.0\"?>", one element a line,
// one tab per level, UTF-8. Serialised in memory so that the caller can replace the file whole.
std::string SaveXmlRecord(const pugi::xml_document& document);

}  // namespace qv::workflow
