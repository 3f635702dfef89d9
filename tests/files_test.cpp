// Reading and saving files: hostile files (a 2 GB sparse file, a link to
// /dev/zero, a FIFO, a folder) refused at once with a reason and without
// holding their bytes, by the bounded reader and by the loaders on it; saves
// into a folder that is a file, a full disk and a read-only one fail with a
// reason and leave the old file and no temporary behind.

#include "tests/scratch_folder.h"
#include "tests/tmpfs.h"

#include "app/files.h"
#include "game/best_times.h"
#include "game/laps/ghost_file.h"
#include "render/rmd_mesh.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// Reading any of the hostile files may hold no more than this.
constexpr long kMemoryBoundKb = 64 * 1024;
// A hang on a FIFO ends the test program rather than the whole run.
constexpr unsigned kHangSeconds = 30;

long peakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void writeText(const char* path, const std::string& text) {
  FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

std::string readText(const char* path) {
  std::vector<unsigned char> bytes;
  std::string why;
  EXPECT_TRUE(readWholeFile(path, 1 << 20, bytes, why)) << path << ": " << why;
  return std::string(bytes.begin(), bytes.end());
}

// The hostile files, made under `stem` with these endings: a 2 GB sparse file,
// a link to /dev/zero, a FIFO and a folder. Each with the reason it is refused for.
struct Hostile {
  std::string path;
  const char* reason;
};
std::vector<Hostile> makeHostileFiles(const std::string& stem) {
  std::vector<Hostile> files = {{stem + "-sparse", "2147483648 bytes, more than the"},
                                {stem + "-zero", "not a regular file (a character device)"},
                                {stem + "-fifo", "not a regular file (a FIFO)"},
                                {stem + "-folder", "not a regular file (a folder)"}};
  FILE* f = std::fopen(files[0].path.c_str(), "wb");
  EXPECT_NE(f, nullptr);
  if (f != nullptr) {
    EXPECT_EQ(ftruncate(fileno(f), off_t(2) << 30), 0);
    std::fclose(f);
  }
  EXPECT_EQ(symlink("/dev/zero", files[1].path.c_str()), 0);
  EXPECT_EQ(mkfifo(files[2].path.c_str(), 0644), 0);
  EXPECT_EQ(mkdir(files[3].path.c_str(), 0755), 0);
  return files;
}

// Each hostile file through `load`, which must refuse it with its reason (in
// `why`, or in the log when `why` stays empty), at once and within the bound.
void expectEachRefused(const std::vector<Hostile>& files, const std::function<bool(const char*, std::string&)>& load,
                       const std::function<std::string()>& log) {
  for (const Hostile& file : files) {
    long before = peakKb();
    alarm(kHangSeconds);
    std::string why;
    EXPECT_FALSE(load(file.path.c_str(), why)) << file.path;
    alarm(0);
    if (why.empty()) why = log();
    EXPECT_TRUE(contains(why, file.reason)) << file.path << ": " << why;
    EXPECT_LT(peakKb() - before, kMemoryBoundKb) << file.path;
  }
}

using Files = ScratchFolder;

}  // namespace

TEST_F(Files, ReadsARegularFileUpToItsLimitAndRefusesOneByteMore) {
  writeText("four", "abcd");
  std::vector<unsigned char> bytes;
  std::string why;
  ASSERT_TRUE(readWholeFile("four", 4, bytes, why)) << why;
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcd");
  EXPECT_FALSE(readWholeFile("four", 3, bytes, why));
  EXPECT_EQ(why, "4 bytes, more than the 3 it can hold");
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(readWholeFile("absent", 3, bytes, why));
  EXPECT_TRUE(contains(why, "cannot be opened")) << why;
}

TEST_F(Files, HostileFilesAreRefusedAtOnceByTheReaderAndEveryLoader) {
  std::vector<Hostile> files = makeHostileFiles("hostile");
  expectEachRefused(
      files,
      [](const char* path, std::string& why) {
        std::vector<unsigned char> bytes;
        return readWholeFile(path, maxGhostFileBytes(), bytes, why);
      },
      log);
  expectEachRefused(
      files, [](const char* path, std::string& why) { GhostLap lap; return loadGhost(path, 0, lap, why); }, log);
  // The loaders that only log: the reason is in the log's last line.
  expectEachRefused(
      files,
      [](const char* path, std::string&) {
        RMDMesh mesh;
        return mesh.Load(path);
      },
      log);
  // The best times read only their first bytes (of the sparse file: ten zero
  // times, as of any longer table), and never from a FIFO, a device or a folder.
  for (const Hostile& file : files) {
    bool regular = &file == &files[0];
    long before = peakKb();
    alarm(kHangSeconds);
    BestTimes table;
    EXPECT_EQ(loadBestTimes(file.path.c_str(), table), regular) << file.path;
    alarm(0);
    EXPECT_EQ(table.entries[0], regular ? 0.0f : kEmptyLapTime);
    EXPECT_LT(peakKb() - before, kMemoryBoundKb) << file.path;
  }
  EXPECT_TRUE(contains(log(), "Main: Could not read \"hostile-fifo\": not a regular file (a FIFO)")) << log();
}

TEST_F(Files, BodyOfUnknownLengthIsCutOffAtItsLimit) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  ASSERT_EQ(write(pipeEnds[1], "0123456789", 10), 10);
  close(pipeEnds[1]);
  std::vector<unsigned char> bytes;
  std::string why;
  EXPECT_FALSE(readAtMost(pipeEnds[0], 9, bytes, why));
  close(pipeEnds[0]);
  EXPECT_EQ(why, "10 bytes, more than the 9 it can hold");
  EXPECT_LE(bytes.size(), 9u);
  EXPECT_TRUE(sizeWithin(9, 9, why));
}

TEST_F(Files, SaveReplacesTheFileWholeOrFailsWithTheOldOneKept) {
  std::string why;
  ASSERT_TRUE(writeFileAtomically("kept", "old", 3, why)) << why;
  ASSERT_TRUE(writeFileAtomically("kept", "newer", 5, why)) << why;
  EXPECT_EQ(readText("kept"), "newer");
  EXPECT_FALSE(pathExists("kept.tmp"));

  // A folder where the file's folder should be.
  writeText("notafolder", "x");
  EXPECT_FALSE(makeFolder("notafolder", why));
  EXPECT_EQ(why, "notafolder is not a folder");
  EXPECT_FALSE(writeFileAtomically("notafolder\\file", "x", 1, why));
  EXPECT_TRUE(contains(why, "cannot create notafolder/file.tmp")) << why;

  // The rename fails (a folder holds the name): the temporary goes too.
  mkdir("taken", 0755);
  writeText("taken/inside", "x");
  EXPECT_FALSE(writeFileAtomically("taken", "x", 1, why));
  EXPECT_TRUE(contains(why, "cannot rename")) << why;
  EXPECT_FALSE(pathExists("taken.tmp"));
}

TEST_F(Files, SaveOnAFullOrReadOnlyDiskFailsAndKeepsTheOldFile) {
  Tmpfs disk("disk", "size=64k");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
  std::string why;
  ASSERT_TRUE(writeFileAtomically("disk/best", "old", 3, why)) << why;
  std::vector<unsigned char> large(128 * 1024, 7);
  EXPECT_FALSE(writeFileAtomically("disk/best", large.data(), large.size(), why));
  EXPECT_TRUE(contains(why, "No space left on device")) << why;
  EXPECT_EQ(readText("disk/best"), "old");
  EXPECT_FALSE(pathExists("disk/best.tmp"));

  ASSERT_TRUE(disk.makeReadOnly());
  EXPECT_FALSE(writeFileAtomically("disk/best", "new", 3, why));
  EXPECT_TRUE(contains(why, "Read-only file system")) << why;
  EXPECT_EQ(readText("disk/best"), "old");
}
