#pragma once
// Ready-made families for the demo, tests and benchmarks.
#include <string>

#include "tests/support/PafFixture.h"

namespace corvane::testing {

// The demo family, for a family folder C:\Family\: five individuals, two marriages (one
// without a husband), a source, two citations, and media links of every owner kind:
// .\Photos\grandma.jpg (individual), Photos\wedding.jpg (two marriages share the text),
// C:\Family\Scans\letter.png (source, an absolute path under the family folder),
// Portraits\uncle.jpg (individual; the file lies in Photos\Old), the missing
// Photos\marriage-record.jpg (a citation of a marriage event), and one empty slot.
PafBuilder demoFamily();

// `count` individual-owned link records; link i has the path prefix + i in six digits +
// ".jpg", the found prefix for odd i and the missing prefix for even i, each its own kind-5
// text in a balanced tree.
PafBuilder numberedLinks(int count, const std::string& foundPrefix, const std::string& missingPrefix);

// prefix + number in at least six digits + ".jpg".
std::string numberedPath(const std::string& prefix, int number);

}  // namespace corvane::testing
