#include "platform/posix/ElfObject.h"

#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/protools/HostFrameworks.h"
#include "tests/ProgramRun.h"
#include "tests/ScratchFolder.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes SomeObject() {
  const std::string text =
      ReadText(platform::StandInFrameworksFolder() + "/DSPManager.framework/Contents/MacOS/DSPManager");
  return Bytes(text.begin(), text.end());
}

Elf64_Ehdr HeaderOf(const Bytes& bytes) {
  Elf64_Ehdr header;
  std::memcpy(&header, bytes.data(), sizeof header);
  return header;
}

void PutHeader(Bytes* bytes, const Elf64_Ehdr& header) { std::memcpy(bytes->data(), &header, sizeof header); }

// Where the program header of the last loadable segment lies.
size_t LastLoadEntry(const Bytes& bytes) {
  const Elf64_Ehdr header = HeaderOf(bytes);
  size_t found = 0;
  for (size_t i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment;
    const size_t at = header.e_phoff + i * sizeof(Elf64_Phdr);
    std::memcpy(&segment, bytes.data() + at, sizeof segment);
    if (segment.p_type == PT_LOAD) found = at;
  }
  return found;
}

void ChangeLastLoad(Bytes* bytes, const std::function<void(Elf64_Phdr*)>& change) {
  const size_t at = LastLoadEntry(*bytes);
  Elf64_Phdr segment;
  std::memcpy(&segment, bytes->data() + at, sizeof segment);
  change(&segment);
  std::memcpy(bytes->data() + at, &segment, sizeof segment);
}

}  // namespace

TEST(ElfObject, OnlyAWholeObjectOfThisMachinePasses) {
  const Bytes whole = SomeObject();
  ASSERT_GT(whole.size(), 8192u);
  ASSERT_EQ(HeaderOf(whole).e_ident[EI_CLASS], ELFCLASS64);
  ASSERT_NE(LastLoadEntry(whole), 0u);
  // The end of the last loadable segment's bytes, read here from the
  // object itself.
  Elf64_Phdr last;
  std::memcpy(&last, whole.data() + LastLoadEntry(whole), sizeof last);
  const size_t segmentEnd = static_cast<size_t>(last.p_offset + last.p_filesz);
  ASSERT_LT(segmentEnd, whole.size());

  struct Case {
    const char* what;
    std::function<void(Bytes*)> damage;
    bool passes;
  };
  const Case cases[] = {
      {"untouched", [](Bytes*) {}, true},
      {"cut to its first 4 KiB", [](Bytes* b) { b->resize(4096); }, false},
      {"cut inside the last loadable segment", [&](Bytes* b) { b->resize(segmentEnd - 1); }, false},
      {"cut by its last byte (section headers)", [](Bytes* b) { b->pop_back(); }, false},
      {"empty", [](Bytes* b) { b->clear(); }, false},
      {"only the identification", [](Bytes* b) { b->resize(EI_NIDENT); }, false},
      {"not ELF", [](Bytes* b) { *b = Bytes{'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'}; }, false},
      {"the other byte order",
       [](Bytes* b) { (*b)[EI_DATA] = (*b)[EI_DATA] == ELFDATA2LSB ? ELFDATA2MSB : ELFDATA2LSB; }, false},
      {"program headers past the end",
       [](Bytes* b) {
         Elf64_Ehdr h = HeaderOf(*b);
         h.e_phoff = b->size() - 8;
         PutHeader(b, h);
       },
       false},
      {"program headers of another size",
       [](Bytes* b) {
         Elf64_Ehdr h = HeaderOf(*b);
         h.e_phentsize = sizeof(Elf32_Phdr);
         PutHeader(b, h);
       },
       false},
      {"no program headers",
       [](Bytes* b) {
         Elf64_Ehdr h = HeaderOf(*b);
         h.e_phnum = 0;
         PutHeader(b, h);
       },
       false},
      {"section headers past the end",
       [](Bytes* b) {
         Elf64_Ehdr h = HeaderOf(*b);
         h.e_shnum = static_cast<Elf64_Half>(h.e_shnum + 1);
         PutHeader(b, h);
       },
       false},
      {"a loadable segment past the end",
       [](Bytes* b) { ChangeLastLoad(b, [&](Elf64_Phdr* p) { p->p_filesz = b->size(); }); }, false},
      {"a loadable segment whose end wraps",
       [](Bytes* b) { ChangeLastLoad(b, [](Elf64_Phdr* p) { p->p_filesz = ~0ull - p->p_offset + 16; }); }, false},
  };
  for (const Case& c : cases) {
    ScratchFolder folder;
    Bytes bytes = whole;
    c.damage(&bytes);
    const std::string path = folder.Write("object.so", bytes);
    ASSERT_FALSE(path.empty()) << c.what;
    EXPECT_EQ(platform::IsWholeElfObject(path), c.passes) << c.what;
  }
}

TEST(ElfObject, WhatIsNotAFileFails) {
  ScratchFolder folder;
  ASSERT_EQ(mkfifo(folder.PathOf("fifo").c_str(), 0600), 0);
  ASSERT_EQ(mkdir(folder.PathOf("folder").c_str(), 0700), 0);
  for (const std::string& path : {folder.PathOf("fifo"), folder.PathOf("folder"), folder.PathOf("missing"),
                                  std::string("/dev/zero")}) {
    EXPECT_FALSE(platform::IsWholeElfObject(path)) << path;
  }
}
