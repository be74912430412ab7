// The file's identity in a recovery copy's header: the change time is kept, and a copy written
// before the header held it still reads, with the change time unknown.
#include "files/file_identity.h"
#include "recovery/recovery_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RecoveryHeaderIdentity, KeepsTheChangeTimeAndReadsOlderHeadersWithout)
{
    const FileIdentity identity{true, 7, 1ULL << 40, 12345, 987654321, 987654999};
    const RecoveryHeader written{133500000000000000ULL, L"/home/u/notes.txt", identity, {}, {}};
    RecoveryHeader read;
    const std::string bytes = headerBytes(written);
    ASSERT_NE(parseHeader(bytes, read), std::string::npos);
    EXPECT_EQ(read.identity, identity);

    std::string older = bytes;
    const std::string line = " 987654321 987654999\n";
    older.replace(older.find(line), line.size(), " 987654321\n");
    ASSERT_NE(parseHeader(older, read), std::string::npos);
    FileIdentity unknownChange = identity;
    unknownChange.changeTime = 0;
    EXPECT_EQ(read.identity, unknownChange);
    EXPECT_EQ(read.path, L"/home/u/notes.txt");
    // Without the change time the rest of the identity still decides.
    EXPECT_TRUE(sameState(read.identity, identity));
    FileIdentity laterWrite = identity;
    laterWrite.writeTime += 1;
    EXPECT_FALSE(sameState(read.identity, laterWrite));
}

} // namespace
