// Program resources: pictures, icons and language tables embedded at build time.
#pragma once

#include <cstddef>
#include <span>

namespace qv::platform {

// The bytes of resource `id`, or an empty span when the program carries no such resource.
// Defined by the generated table of the resource library the program links
// (qv_embed_resources in cmake/QvEmbedResources.cmake); the bytes live for the whole process.
std::span<const unsigned char> FindResource(int id);

}  // namespace qv::platform
