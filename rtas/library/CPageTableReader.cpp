#include "rtas/library/CPageTableReader.h"

#include <algorithm>

uint16_t CPageTableReader::Number(size_t offset) const {
  return static_cast<uint16_t>(mBytes[offset] << 8 | mBytes[offset + 1]);
}

CPageTableReader::EFind CPageTableReader::ReadRecord(size_t offset, SRecord* record) const {
  // A table that simply stops between records has ended; one that stops
  // inside a record was cut short.
  if (offset >= mSize) return EFind::kAbsent;
  if (offset + 2 > mSize) return EFind::kMalformed;
  record->mKind = Number(offset);
  if (record->mKind == 0) return EFind::kAbsent;
  if (offset + 6 > mSize) return EFind::kMalformed;
  record->mGroups = Number(offset + 2);
  record->mEntryCount = Number(offset + 4);
  record->mFirstEntry = offset + 6;
  if (record->mFirstEntry + 2 * static_cast<size_t>(record->mEntryCount) > mSize) return EFind::kMalformed;
  return EFind::kFound;
}

CPageTableReader::EFind CPageTableReader::First(SRecord* record) const {
  if (!mBytes) return EFind::kAbsent;
  return ReadRecord(0, record);
}

CPageTableReader::EFind CPageTableReader::Find(uint16_t kind, bool fallBack, SRecord* record) const {
  if (!mBytes) return EFind::kAbsent;
  bool haveKind1 = false;
  SRecord kind1;
  bool haveFirst = false;
  SRecord first;
  size_t offset = 0;
  for (;;) {
    SRecord candidate;
    const EFind found = ReadRecord(offset, &candidate);
    if (found == EFind::kMalformed) return found;
    if (found == EFind::kAbsent) break;
    if (candidate.mKind == kind) {
      *record = candidate;
      return EFind::kFound;
    }
    if (!haveFirst) {
      first = candidate;
      haveFirst = true;
    }
    if (candidate.mKind == 1 && !haveKind1) {
      kind1 = candidate;
      haveKind1 = true;
    }
    offset = candidate.mFirstEntry + 2 * static_cast<size_t>(candidate.mEntryCount);
  }
  if (!fallBack || !haveFirst) return EFind::kAbsent;
  *record = haveKind1 ? kind1 : first;
  return EFind::kFound;
}

int32_t CPageTableReader::Entry(const SRecord& record, int64_t index) const {
  // The groups a record claims may outnumber the entries it holds.
  if (index < 0 || index >= record.mEntryCount) return kNoPage;
  return Number(record.mFirstEntry + 2 * static_cast<size_t>(index));
}

bool CPageTableReader::HasLayoutFor(uint16_t kind) const {
  if (!mBytes) return false;
  if (kind == kFirstRecord) return true;
  SRecord record;
  return Find(kind, false, &record) == EFind::kFound;
}

int32_t CPageTableReader::CountPages(uint16_t kind) const {
  SRecord record;
  if (kind == kFirstRecord) return First(&record) == EFind::kFound ? record.mGroups : kNoPage;
  if (Find(kind, true, &record) != EFind::kFound) return kNoPage;
  // A record for a wider group than the surface has no whole group per
  // page; the surface cannot use it.
  const int32_t groupsPerPage = kind / record.mKind;
  if (groupsPerPage == 0) return kNoPage;
  return (record.mGroups + groupsPerPage - 1) / groupsPerPage;
}

int32_t CPageTableReader::GetEntry(uint16_t kind, int32_t page, int32_t position) const {
  SRecord record;
  if (kind == kFirstRecord) {
    if (First(&record) != EFind::kFound) return kNoPage;
    // The first record as a grid of n rows of g entries.
    if (page < 0 || position < 0 || page >= record.mGroups || position >= record.mKind) return 0;
    return Entry(record, static_cast<int64_t>(page) * record.mKind + position);
  }
  if (Find(kind, true, &record) != EFind::kFound) return kNoPage;
  const int32_t groupsPerPage = kind / record.mKind;
  if (groupsPerPage == 0) return kNoPage;
  if (page < 0 || position < 0) return 0;
  const int64_t start = static_cast<int64_t>(page) * groupsPerPage;
  const int64_t remaining = record.mGroups - start;
  if (remaining < 1 || position >= std::min<int64_t>(remaining, groupsPerPage) * record.mKind) return 0;
  return Entry(record, start * record.mKind + position);
}
