#include "tests/database/DatabaseTestSupport.h"

#include <cstring>
#include <fstream>
#include <iterator>

std::string DatabaseTest::fileBytes(std::int64_t offset, std::int64_t count) const {
  std::ifstream in(prefix_.host("C:\\Family\\tree.paf"), std::ios::binary);
  in.seekg(offset);
  std::string bytes(static_cast<std::size_t>(count), '\0');
  in.read(bytes.data(), count);
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::int32_t DatabaseTest::fileInt32(std::int64_t offset) const {
  std::string bytes = fileBytes(offset, 4);
  std::int32_t value = 0;
  if (bytes.size() == 4) std::memcpy(&value, bytes.data(), 4);
  return value;
}

PafBuilder smallFamily(int links) {
  PafBuilder b;
  const int rin = b.addIndividual();
  b.addText("Marlow", 1);
  for (int i = 0; i < links; ++i) b.addMediaLink(fx::kOwnerIndividual, rin, "Photos\\p" + std::to_string(i) + ".jpg");
  return b;
}
