// What the plug-in bundle's code shows the host, read from its own dynamic
// symbol table, and found by name the way the host and the library look.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/corefoundation/CFBundle.h"
#include "rtas/library/HostCommandTable.h"
#include "tests/ProgramRun.h"
#include "tests/rtas/binding/BundleHost.h"

namespace {

const std::set<std::string> kExports = {
    // The host's entry points.
    "NewMachOPlugIn", "CloseMachOPlugIn", "_PI_GetRoutineDescriptor",
    // The resource-file calls.
    "CProcessGroupUseResourceFile", "CProcessGroupRestoreResourceFile", "CProcessGroupGetBundleRef",
    // The DSP-card calls.
    "Dispatcher", "CDSPDoHostCommand", "CDSPGetLoLong", "CDSPSendLoLong",
};

template <class T>
bool ReadAt(const std::string& bytes, uint64_t offset, T* value) {
  if (offset > bytes.size() || sizeof(T) > bytes.size() - offset) return false;
  std::memcpy(value, bytes.data() + offset, sizeof(T));
  return true;
}

// The names the object defines in its dynamic symbol table (.dynsym with
// its string table), as the dynamic loader hands them to dlsym.
std::set<std::string> DefinedDynamicNames(const std::string& bytes) {
  std::set<std::string> names;
  Elf64_Ehdr header;
  if (!ReadAt(bytes, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64) {
    ADD_FAILURE() << "not a 64-bit ELF object";
    return names;
  }
  auto section = [&](uint64_t index) {
    Elf64_Shdr s{};
    EXPECT_TRUE(ReadAt(bytes, header.e_shoff + index * sizeof(Elf64_Shdr), &s)) << index;
    return s;
  };
  for (uint64_t i = 0; i < header.e_shnum; ++i) {
    const Elf64_Shdr symbols = section(i);
    if (symbols.sh_type != SHT_DYNSYM) continue;
    const Elf64_Shdr strings = section(symbols.sh_link);
    // Entry 0 is the null symbol.
    for (uint64_t at = sizeof(Elf64_Sym); at + sizeof(Elf64_Sym) <= symbols.sh_size; at += sizeof(Elf64_Sym)) {
      Elf64_Sym symbol;
      if (!ReadAt(bytes, symbols.sh_offset + at, &symbol)) break;
      const unsigned binding = ELF64_ST_BIND(symbol.st_info);
      if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) continue;
      if (symbol.st_name >= strings.sh_size) continue;
      names.insert(std::string(bytes.c_str() + strings.sh_offset + symbol.st_name));
    }
  }
  return names;
}

}  // namespace

TEST(PluginBundleExports, TheCodeDefinesTheTenExportsAndNothingElse) {
  const std::string code = ReadText(StandInHost::DefaultBundle() + "/Contents/MacOS/Brimlow");
  ASSERT_FALSE(code.empty());
  EXPECT_EQ(DefinedDynamicNames(code), kExports);
}

class PluginBundleLookups : public BundleHost {};

TEST_F(PluginBundleLookups, EveryExportIsFoundByNameAndTheDispatcherAnswers) {
  StartHost();
  CFBundleRef bundle = host->Bundle().Bundle();
  auto named = [&](const char* name) {
    CFStringRef text = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    void* found = CFBundleGetFunctionPointerForName(bundle, text);
    CFRelease(text);
    return found;
  };
  for (const std::string& name : kExports) EXPECT_NE(named(name.c_str()), nullptr) << name;

  // The library looks for "Dispatcher" in the bundle it was opened with.
  auto groupBundle = reinterpret_cast<CFBundleRef (*)()>(named("CProcessGroupGetBundleRef"));
  ASSERT_NE(groupBundle, nullptr);
  EXPECT_EQ(groupBundle(), bundle);

  // The bundle's own Dispatcher hands back the library's callback and
  // vetoes no hook.
  auto dispatcher = reinterpret_cast<HostWord (*)(SDispatcherBlock*)>(named("Dispatcher"));
  ASSERT_NE(dispatcher, nullptr);
  const HostWord callback = static_cast<HostWord>(0x12345678);
  for (int32_t kind : {0, 1, 2}) {
    SDispatcherBlock block{};
    block.mVersion = 1;
    block.mKind = kind;
    if (kind == SDispatcherBlock::kLookup) {
      block.mData.mLookup.mRequest = 266;
      block.mData.mLookup.mCallback = callback;
    }
    EXPECT_EQ(dispatcher(&block), kind == SDispatcherBlock::kLookup ? callback : 0) << kind;
  }
  EXPECT_EQ(dispatcher(nullptr), 0u);

  // Without a DSP the DSP-card calls answer 0.
  EXPECT_EQ(reinterpret_cast<int32_t (*)(DsiDSP)>(named("CDSPGetLoLong"))(nullptr), 0);
  EXPECT_EQ(reinterpret_cast<int16_t (*)(DsiDSP, int16_t)>(named("CDSPDoHostCommand"))(nullptr, 1), 0);
  EXPECT_EQ(reinterpret_cast<int16_t (*)(DsiDSP, int32_t)>(named("CDSPSendLoLong"))(nullptr, 1), 0);
}
