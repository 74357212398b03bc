#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/webMessage.h"
#include "support/testEngine.h"

namespace {
Cbytes bytesOf(const std::string& s) { return Cbytes(s.begin(), s.end()); }
Cbytes noise(size_t n, uint32_t seed) {
    Cbytes b(n);
    for (auto& x : b) {
        seed = seed * 1664525u + 1013904223u;
        x = (uint8_t)(seed >> 24);
    }
    return b;
}
}  // namespace

TEST(WebMessage, PackKeepsCompressionOnlyWhenSmaller) {
    CtestEngine eng(false);
    Cbytes repetitive = bytesOf(std::string(4000, 'z'));
    Cbytes packed = CwebMessage::pack(7, repetitive.data(), repetitive.size());
    ASSERT_GE(packed.size(), 12u);
    EXPECT_EQ(packed[2], 1);   // compressed
    EXPECT_LT(packed.size(), 200u);

    Cbytes random = noise(300, 9);
    Cbytes packed2 = CwebMessage::pack(0, random.data(), random.size());
    EXPECT_EQ(packed2[2], 0);   // zlib would not make it smaller
    EXPECT_NE(0, memcmp(&packed2[12], random.data(), random.size()));   // scrambled

    Cbytes empty;
    for (const Cbytes* src : {&repetitive, &random, &empty}) {
        Cbytes p = CwebMessage::pack(3, src->data(), src->size());
        Cbytes out;
        ASSERT_TRUE(CwebMessage::unpack(p.data(), p.size(), out));
        ASSERT_EQ(out.size(), 12 + src->size());
        EXPECT_TRUE(getU16(&out[0]) == 3 && out[2] == 0 && out[3] == 0 && getU32(&out[4]) == src->size() &&
                    getU32(&out[8]) == src->size());
        EXPECT_TRUE(std::equal(src->begin(), src->end(), out.begin() + 12));
    }
}

TEST(WebMessage, TruncatedAndCorruptContainersAreRefused) {
    CtestEngine eng(false);
    Cbytes src = bytesOf(std::string(2000, 'a') + "tail");
    Cbytes packed = CwebMessage::pack(1, src.data(), src.size());
    Cbytes out;
    for (size_t n = 0; n < packed.size(); ++n) {
        EXPECT_FALSE(CwebMessage::unpack(packed.data(), n, out)) << "prefix " << n;
        EXPECT_TRUE(out.empty());
    }
    // A raw length that zlib does not give or above the cap; a stored length past the buffer.
    for (auto [at, value] : {std::pair<int, uint32_t>{8, 1999}, {8, 0xFFFFFFF0u}, {4, (uint32_t)packed.size()}}) {
        Cbytes bad = packed;
        putU32(&bad[at], value);
        EXPECT_FALSE(CwebMessage::unpack(bad.data(), bad.size(), out)) << at << " " << value;
    }
    // Garbage payload with the compressed flag.
    Cbytes garbage = packed;
    for (size_t i = 12; i < garbage.size(); ++i) garbage[i] ^= 0x5A;
    EXPECT_FALSE(CwebMessage::unpack(garbage.data(), garbage.size(), out));
    // Uncompressed with differing lengths.
    Cbytes plain = CwebMessage::pack(0, "abc", 3);
    putU32(&plain[8], 2);
    EXPECT_FALSE(CwebMessage::unpack(plain.data(), plain.size(), out));
    EXPECT_FALSE(CwebMessage::unpack(nullptr, 0, out));
}

TEST(WebMessage, PackedRecordRoundTripAndBlockBounds) {
    CtestEngine eng(false);
    Cbytes record;
    std::string big(5000, 'q');
    CwebMessage::addBlock(record, 4, big.data(), (uint32_t)big.size());
    CwebMessage::addBlock(record, 5, "secret\0", 7);
    Cbytes packed = CwebMessage::packRecord(record);
    EXPECT_LT(packed.size(), record.size());
    Cbytes out;
    ASSERT_TRUE(CwebMessage::unpackRecord(packed.data(), packed.size(), out));
    EXPECT_EQ(out, record);
    uint16_t type;
    const uint8_t* data;
    uint32_t len;
    ASSERT_TRUE(CwebMessage::getBlock(out, 1, type, data, len));
    EXPECT_TRUE(type == 5 && len == 7u);
    EXPECT_STREQ((const char*)data, "secret");
    EXPECT_FALSE(CwebMessage::getBlock(out, 2, type, data, len));

    // A block that claims more than the record holds.
    Cbytes bad = record;
    putU32(&bad[14 + 2], 6000);
    EXPECT_FALSE(CwebMessage::unpackRecord(bad.data(), bad.size(), out));
    // A count larger than the blocks present.
    Cbytes count = record;
    putU32(&count[0], 3);
    EXPECT_FALSE(CwebMessage::unpackRecord(count.data(), count.size(), out));
    for (size_t n = 0; n < packed.size(); n += 7) EXPECT_FALSE(CwebMessage::unpackRecord(packed.data(), n, out));
}

// A short header that claims tens of megabytes is refused on its lengths alone:
// no stored payload can inflate that far.
TEST(WebMessage, RawLengthBeyondInflateRatioIsRefused) {
    CtestEngine eng(false);
    Cbytes src = bytesOf(std::string(100000, 'r'));
    Cbytes packed = CwebMessage::pack(0, src.data(), src.size());
    ASSERT_EQ(packed[2], 1);
    uint32_t stored = getU32(&packed[4]);
    Cbytes out;
    ASSERT_TRUE(CwebMessage::unpack(packed.data(), packed.size(), out));   // real data stays readable

    Cbytes header(12, 0);
    header[2] = 1;
    putU32(&header[8], 60u * 1024u * 1024u);
    EXPECT_FALSE(CwebMessage::unpack(header.data(), header.size(), out));
    EXPECT_TRUE(gEngine->log.containsPart("raw length beyond what the stored data can inflate to"));
    Cbytes over = packed;
    putU32(&over[8], stored * 1032u + 1);
    EXPECT_FALSE(CwebMessage::unpack(over.data(), over.size(), out));

    Cbytes recordHeader(14, 0);
    putU32(&recordHeader[4], 14);
    putU32(&recordHeader[8], 60u * 1024u * 1024u);
    recordHeader[12] = 1;
    EXPECT_FALSE(CwebMessage::unpackRecord(recordHeader.data(), recordHeader.size(), out));
    EXPECT_TRUE(gEngine->log.containsPart("record raw length beyond what the stored data can inflate to"));
}
