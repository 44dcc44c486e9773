#include "platform/posix/ElfObject.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr unsigned char kNativeData = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

bool ReadAt(int fd, uint64_t offset, void* into, size_t length) {
  auto* bytes = static_cast<char*>(into);
  while (length > 0) {
    const ssize_t got = pread(fd, bytes, length, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    bytes += got;
    offset += static_cast<uint64_t>(got);
    length -= static_cast<size_t>(got);
  }
  return true;
}

// count entries of entrySize bytes from offset, without overflow.
bool Inside(uint64_t offset, uint64_t count, uint64_t entrySize, uint64_t fileSize) {
  if (offset > fileSize) return false;
  if (entrySize != 0 && count > (fileSize - offset) / entrySize) return false;
  return true;
}

template <class Ehdr, class Phdr, class Shdr>
bool TablesAndSegmentsInside(int fd, uint64_t fileSize) {
  Ehdr header;
  if (fileSize < sizeof header || !ReadAt(fd, 0, &header, sizeof header)) return false;
  // PN_XNUM's count would live in the first section header; no loadable
  // object has that many.
  if (header.e_phnum == 0 || header.e_phnum == PN_XNUM || header.e_phentsize != sizeof(Phdr)) return false;
  if (!Inside(header.e_phoff, header.e_phnum, sizeof(Phdr), fileSize)) return false;

  if (header.e_shoff != 0) {
    if (header.e_shentsize != sizeof(Shdr)) return false;
    uint64_t sections = header.e_shnum;
    if (sections == 0) {
      // Many sections: the count is the first section header's size.
      Shdr first;
      if (!Inside(header.e_shoff, 1, sizeof(Shdr), fileSize) || !ReadAt(fd, header.e_shoff, &first, sizeof first)) {
        return false;
      }
      sections = first.sh_size;
    }
    if (!Inside(header.e_shoff, sections, sizeof(Shdr), fileSize)) return false;
  }

  std::vector<Phdr> segments(header.e_phnum);
  if (!ReadAt(fd, header.e_phoff, segments.data(), segments.size() * sizeof(Phdr))) return false;
  bool loadable = false;
  for (const Phdr& segment : segments) {
    if (segment.p_type != PT_LOAD) continue;
    loadable = true;
    if (!Inside(segment.p_offset, segment.p_filesz, 1, fileSize)) return false;
  }
  return loadable;
}

}  // namespace

bool IsWholeElfObject(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  bool whole = false;
  unsigned char ident[EI_NIDENT];
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= EI_NIDENT &&
      ReadAt(fd, 0, ident, sizeof ident) && std::memcmp(ident, ELFMAG, SELFMAG) == 0 && ident[EI_DATA] == kNativeData) {
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (ident[EI_CLASS] == ELFCLASS64) whole = TablesAndSegmentsInside<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(fd, size);
    if (ident[EI_CLASS] == ELFCLASS32) whole = TablesAndSegmentsInside<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(fd, size);
  }
  close(fd);
  return whole;
}

}  // namespace platform
