#include "platform/ui/trace.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(TraceFile, EmptiesOnOpenAndWritesQuotedLinesWithCrLf) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("tavoro.dbg").toStdString();
  { std::ofstream(path) << "old contents\n"; }

  plat::TraceFile trace;
  ASSERT_TRUE(trace.Open(path));
  EXPECT_TRUE(trace.IsOpen());
  EXPECT_EQ(ReadAll(path), "");
  trace.Write("GetRegistry()");
  // Flushed at once: readable while still open.
  EXPECT_EQ(ReadAll(path), "\"GetRegistry()\"\r\n");
  trace.Write({"OpenInputDevice(): Port A", " Device already open."});
  trace.Write("");
  trace.Close();
  EXPECT_FALSE(trace.IsOpen());
  trace.Write("after close");  // ignored
  EXPECT_EQ(ReadAll(path),
            "\"GetRegistry()\"\r\n"
            "\"OpenInputDevice(): Port A\",\" Device already open.\"\r\n"
            "\"\"\r\n");

  // Opening again empties the file again.
  ASSERT_TRUE(trace.Open(path));
  trace.Write("again");
  EXPECT_EQ(ReadAll(path), "\"again\"\r\n");
}

TEST(TraceFile, OpenFailsForAPathThatCannotBeCreated) {
  QTemporaryDir dir;
  plat::TraceFile trace;
  EXPECT_FALSE(trace.Open(dir.filePath("missing/dir/tavoro.dbg").toStdString()));
  EXPECT_FALSE(trace.IsOpen());
  trace.Write("nothing");  // harmless
  // A failed open leaves the writer usable.
  EXPECT_TRUE(trace.Open(dir.filePath("ok.dbg").toStdString()));
}

}  // namespace
