#pragma once

#include <cstddef>
#include <cstdint>

// Reads a control-surface page table: the layout a surface of some kind
// uses to lay the process's controls out on its pages. The table is a
// resource, so its 16-bit numbers are big-endian. It is a run of records,
// each
//   g  the surface kind it serves, and the number of entries per group
//      (0 ends the table)
//   n  the number of groups
//   e  the number of entries that follow
//   e entries (control numbers)
// A surface of kind k uses the record of kind k, or else the record of
// kind 1, or else the first record (a table made for one surface holds a
// single record, whatever its kind). Kind 65535 (-1 as the host's 16-bit
// argument) asks about the first record itself.
//
// A resource is only as good as whoever made it, so every read is
// bounded: a record that runs past the buffer, or an entry the record
// does not have, makes the answer -1, as a missing table does.
class CPageTableReader {
 public:
  static constexpr int32_t kNoPage = -1;
  static constexpr uint16_t kFirstRecord = 0xFFFF;

  // A null table reads as missing.
  CPageTableReader(const uint8_t* bytes, size_t size) : mBytes(bytes), mSize(bytes ? size : 0) {}

  // Whether the table has a record for the surface's kind (no fallback:
  // the host asks this to learn whether the table was made for it).
  bool HasLayoutFor(uint16_t kind) const;
  // Pages the surface needs; for kFirstRecord the first record's number
  // of groups.
  int32_t CountPages(uint16_t kind) const;
  // The control at a position of a page; 0 for a place past the table's
  // groups.
  int32_t GetEntry(uint16_t kind, int32_t page, int32_t position) const;

 private:
  struct SRecord {
    int32_t mKind = 0, mGroups = 0, mEntryCount = 0;
    size_t mFirstEntry = 0;
  };
  enum class EFind { kFound, kAbsent, kMalformed };

  EFind Find(uint16_t kind, bool fallBack, SRecord* record) const;
  EFind First(SRecord* record) const;
  // Reads the record header at `offset`; kAbsent at the end of the table.
  EFind ReadRecord(size_t offset, SRecord* record) const;
  int32_t Entry(const SRecord& record, int64_t index) const;
  uint16_t Number(size_t offset) const;

  const uint8_t* mBytes;
  size_t mSize;
};
