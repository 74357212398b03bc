#include <gtest/gtest.h>

#include "audio/acrCloud.h"

namespace {
const char* kMatch =
    "{\"status\":{\"msg\":\"Success\",\"code\":0,\"version\":\"1.0\"},\"metadata\":{\"music\":[{"
    "\"title\":\"Caf\\u00e9 %s\",\"artists\":[{\"name\":\"The \\\"Band\\\"\"},{\"name\":\"Other\"}],"
    "\"album\":{\"name\":\"LP\"},\"genres\":[{\"name\":\"Pop\"}],\"duration_ms\":215500,"
    "\"external_ids\":{},\"score\":100}],\"timestamp_utc\":\"2026-01-01 10:00:00\"},\"result_type\":0}";
}

TEST(TrackIdentification, RepliesParse) {
    CtrackTags t;
    ASSERT_TRUE(CacrCloud::parseReply(kMatch, t));
    EXPECT_EQ(t.title, "Caf\xc3\xa9 %s");
    EXPECT_EQ(t.artist, "The \"Band\"");
    EXPECT_FLOAT_EQ(t.length, 215.5f);
    for (const char* bad : {"{\"status\":{\"msg\":\"No result\",\"code\":1001}}",
                            "{\"status\":{\"code\":0},\"metadata\":{\"music\":[]}}", "{\"status\":{\"code\":0",
                            "not json"})
        EXPECT_FALSE(CacrCloud::parseReply(bad, t)) << bad;
    EXPECT_FALSE(CacrCloud::parseReply(std::string(100, '['), t));
}

