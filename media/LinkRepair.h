#pragma once
// File names of media paths, as the link repair and the missing-file search compare them.
#include <string_view>

#include "text/Str.h"

// The part of the path after its last "\", ":" or "/"; the whole path when it has none; the
// empty text when it ends with one of them. Letter case is kept: two names match only when
// they are equal byte for byte.
Str fileNameOf(const Str& path);

// The same part, as a view into the path's own bytes.
std::string_view fileNamePart(std::string_view path);
