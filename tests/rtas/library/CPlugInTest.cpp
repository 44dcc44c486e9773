#include "rtas/library/CPlugIn.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "rtas/library/CPlainCodeError.h"
#include "rtas/library/CStructureRegistry.h"
#include "rtas/library/HostCallback.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "tests/rtas/library/ProcessTestSupport.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

// The host's registry: kinds by object, descriptions in order.
struct Registry {
  SStructureRegistry mInterface;
  std::map<void*, uint8_t> mKinds;
  std::vector<std::pair<void*, std::vector<HostWord>>> mDescriptions;
};
Registry* gRegistry = nullptr;

int32_t Register(SStructureRegistry*, void* object, uint8_t kind) {
  gRegistry->mKinds[object] = kind;
  return 0;
}
int32_t Unregister(SStructureRegistry*, void* object) {
  gRegistry->mKinds.erase(object);
  return 0;
}
int32_t Describe(SStructureRegistry*, void* object, const SWordArraySnapshot* description) {
  gRegistry->mDescriptions.push_back(
      {object, {description->mWords, description->mWords + description->mSizeBytes / sizeof(HostWord)}});
  return 0;
}
const SStructureRegistryVtbl kVtbl = {Register, Unregister, Describe};

int16_t Host(int16_t selector, ComponentRecord*, char** parameters) {
  if (selector != kHostCallbackStructureRegistry) return -1;
  *reinterpret_cast<SStructureRegistry**>(parameters) = &gRegistry->mInterface;
  return 0;
}

// A type answering the attributes the adaptor asks, with one extra stream
// whose stem format the test sets.
class AttributeType : public TestProcessType {
 public:
  using TestProcessType::TestProcessType;
  int32_t QueryTypeFeature(int32_t feature, int32_t* value) override {
    *value = mAttributes.count(feature) ? mAttributes[feature] : 0;
    return 0;
  }
  int32_t GetTypeName(int32_t maxLength, char* text) override {
    if (mNameFails) return -1;
    return TestProcessType::GetTypeName(maxLength, text);
  }
  int32_t CountChunkDescriptors(int32_t, int32_t* count) override {
    *count = mStreamStem < 0 ? 0 : 1;
    return 0;
  }
  int32_t GetChunkDescriptor(int32_t, int32_t, SFicPlugInStemInfo* info) override {
    info->mWord2 = mStreamStem;
    return 0;
  }
  std::map<int32_t, int32_t> mAttributes;
  bool mNameFails = false;
  int32_t mStreamStem = -1;
};

// Render calls of the default routines.
class RenderingProcess : public TestProcess {
 public:
  using TestProcess::TestProcess;
  int32_t RenderPorts(int32_t* argument) override {
    mArguments.push_back(*argument);
    return mResult;
  }
  std::vector<int32_t> mArguments;
  int32_t mResult = 0;
};

class CPlugInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry.mInterface.mVtbl = &kVtbl;
    gRegistry = &registry;
    CStructureRegistry::Reset();
    SetHostCallbackProcedure(Host);
    process.SetProcessType(&type);
  }
  void TearDown() override {
    SetHostCallbackProcedure(nullptr);
    CStructureRegistry::Reset();
    gRegistry = nullptr;
  }
  std::unique_ptr<CAdaptorPlugIn> Make(PlugInRenderRoutine routine = nullptr) {
    return std::unique_ptr<CAdaptorPlugIn>(
        CreateAdaptorPlugIn(&identification, &process, inputs, outputs, routine));
  }
  static std::vector<int32_t> Numbers(CSet<CPlugInPort>& ports) {
    std::vector<int32_t> numbers;
    for (int32_t i = 1; i <= ports.GetCount(); ++i) numbers.push_back(ports.GetAt(i)->GetPortNumber());
    return numbers;
  }

  Registry registry;
  SProcessScript script;
  AttributeType type{FourCC("EFN2"), &script};
  RenderingProcess process{&script};
  SInstanceIdentification identification{FourCC("KBYX"), FourCC("KB30"), FourCC("EFN2"), 0x1234, 1};
  SProcessPortRecord inputRecords[3], outputRecords[2];
  SProcessPortRecord* inputs[3] = {&inputRecords[0], &inputRecords[1], &inputRecords[2]};
  SProcessPortRecord* outputs[2] = {&outputRecords[0], &outputRecords[1]};
};

int16_t PlainCode(const std::function<void()>& call) {
  try {
    call();
  } catch (const CPlainCodeError& error) {
    return error.Code();
  }
  return 0;
}

}  // namespace

TEST_F(CPlugInTest, PortsAreSizedFromTheProcessWithTheSideChainLast) {
  type.mAttributes[5] = 3;
  auto plugIn = Make();
  EXPECT_EQ(Numbers(plugIn->GetWorker().Inputs()), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(Numbers(plugIn->GetWorker().Outputs()), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(plugIn->CountInputs(), 3);
  EXPECT_EQ(plugIn->GetInputPortCount(), 3);
  EXPECT_EQ(plugIn->GetOutputPortCount(), 2);
  auto& data = plugIn->GetCustomData();
  EXPECT_EQ(data.GetLayoutSize(), static_cast<int32_t>(7 * sizeof(void*)));
  EXPECT_EQ(data.mProcess.Get(), static_cast<CProcess*>(&process));
  EXPECT_EQ(data.mInputs.Get(), static_cast<void*>(inputs));
  EXPECT_EQ(data.mOutputs.Get(), static_cast<void*>(outputs));
  EXPECT_EQ(reinterpret_cast<intptr_t>(data.mInputCount.Get()), 2);
  EXPECT_EQ(reinterpret_cast<intptr_t>(data.mOutputCount.Get()), 2);
  EXPECT_EQ(reinterpret_cast<intptr_t>(data.mSideChain.Get()), 3);
  EXPECT_EQ(plugIn->GetWorker().GetRoutine(), &DefaultRenderRoutine);
  EXPECT_STREQ(plugIn->GetName(), "Unnamed");
  // Every object is registered as its kind while it lives.
  EXPECT_EQ(registry.mKinds.at(plugIn.get()), 3);
  EXPECT_EQ(registry.mKinds.at(plugIn->GetInput(1)), 4);
  EXPECT_EQ(registry.mKinds.at(plugIn->GetOutput(2)), 5);
  EXPECT_EQ(registry.mKinds.at(&plugIn->GetWorker()), 7);
  EXPECT_EQ(registry.mKinds.at(&data), 8);
  plugIn.reset();
  EXPECT_TRUE(registry.mKinds.empty());
}

TEST_F(CPlugInTest, AttributesShapeTheRoutineTheStreamsAndTheFrameFlag) {
  type.mAttributes = {{38, 1}, {41, 1}, {48, 1}};
  type.mStreamStem = 1;  // two more channels each way
  type.mNameFails = true;
  auto plugIn = Make();
  EXPECT_EQ(plugIn->GetWorker().GetRoutine(), &DefaultRenderRoutineWithArgument);
  EXPECT_EQ(plugIn->GetInputPortCount(), 4);
  EXPECT_EQ(plugIn->GetOutputPortCount(), 4);
  EXPECT_STREQ(plugIn->GetName(), "<unknown>");
  // Without the engine 'vqta' reads 0: the host's frames are not used.
  EXPECT_EQ(plugIn->GetCustomData().mHostFrames.Get(), nullptr);

  StandInFrameworks frameworks;
  ASSERT_EQ(InitDAELibAccess(), 0);
  auto counted = Make(DefaultRenderRoutine);
  EXPECT_EQ(counted->GetWorker().GetRoutine(), &DefaultRenderRoutine);
  EXPECT_EQ(reinterpret_cast<intptr_t>(counted->GetCustomData().mHostFrames.Get()), 1);
}

TEST_F(CPlugInTest, PortCountsMayNotChange) {
  script.inputs = 3;
  auto plugIn = Make();
  const size_t described = registry.mDescriptions.size();
  EXPECT_EQ(plugIn->SetInputCount(1), -7152);
  EXPECT_EQ(plugIn->SetOutputCount(1), -7153);
  EXPECT_EQ(plugIn->SetInputCount(-1), 0);
  EXPECT_EQ(plugIn->CountInputs(), 3);
  EXPECT_EQ(registry.mDescriptions.size(), described);
  EXPECT_EQ(plugIn->SetInputCount(3), 0);
  EXPECT_GT(registry.mDescriptions.size(), described);
  EXPECT_EQ(PlainCode([&] { plugIn->GetInput(4); }), -9060);
  EXPECT_EQ(PlainCode([&] { plugIn->GetOutput(0); }), -9060);
  EXPECT_EQ(PlainCode([&] { plugIn->GetOwnedObject(); }), -9060);
  EXPECT_EQ(PlainCode([&] { plugIn->GetThirdSetEntry(1); }), -9060);
}

TEST_F(CPlugInTest, PublishingDescribesEveryObjectInsideTheBracket) {
  auto plugIn = Make();
  plugIn->PublishToHost();
  const auto& d = registry.mDescriptions;
  ASSERT_EQ(d.size(), 9u);
  EXPECT_EQ(d[0].second, std::vector<HostWord>{2});
  EXPECT_EQ(d[8].second, std::vector<HostWord>{3});
  std::vector<int> kinds;
  for (const auto& entry : d) kinds.push_back(registry.mKinds.at(entry.first));
  EXPECT_EQ(kinds, (std::vector<int>{3, 4, 4, 5, 5, 7, 8, 3, 3}));
  const HostWord routine = reinterpret_cast<HostWord>(&DefaultRenderRoutine);
  const HostWord data = reinterpret_cast<HostWord>(&plugIn->GetCustomData());
  const HostWord in1 = reinterpret_cast<HostWord>(plugIn->GetInput(1));
  const HostWord in2 = reinterpret_cast<HostWord>(plugIn->GetInput(2));
  const HostWord out1 = reinterpret_cast<HostWord>(plugIn->GetOutput(1));
  const HostWord out2 = reinterpret_cast<HostWord>(plugIn->GetOutput(2));
  const HostWord name = reinterpret_cast<HostWord>(plugIn->GetName());
  EXPECT_EQ(d[5].second, (std::vector<HostWord>{6, routine, 4, 1, data, 2, in1, in2, 2, out1, out2, 0, name, 0}));
  EXPECT_EQ(d[6].second[0], 1u);
  EXPECT_EQ(d[6].second[2], 7 * sizeof(void*));
  const HostWord worker = reinterpret_cast<HostWord>(&plugIn->GetWorker());
  EXPECT_EQ(d[7].second, (std::vector<HostWord>{1, FourCC("KBYX"), FourCC("KB30"), FourCC("EFN2"), 0x1234, 1, 2,
                                                in1, in2, 2, out1, out2, 1, worker}));
}

TEST_F(CPlugInTest, TheDefaultRoutineFillsThePortRecordsAndFallsBackToTheSpareBuffer) {
  auto plugIn = Make();
  // The host's block of the custom data: the seven fields.
  HostWord admin[7] = {reinterpret_cast<HostWord>(static_cast<CProcess*>(&process)),
                       reinterpret_cast<HostWord>(inputs), reinterpret_cast<HostWord>(outputs), 2, 2, 0, 0};
  float buffers[4][8] = {};
  float* cells[4] = {buffers[0], buffers[1], buffers[2], buffers[3]};
  float spare[8];
  HostWord call[7] = {0, 0, reinterpret_cast<HostWord>(admin)};
  for (int k = 0; k < 4; ++k) call[3 + k] = reinterpret_cast<HostWord>(&cells[k]);
  HostWord record[24] = {};
  record[3] = reinterpret_cast<HostWord>(spare);
  record[21] = 9;
  record[22] = 8;

  EXPECT_EQ(DefaultRenderRoutine(call, record), 0);
  EXPECT_EQ(inputRecords[1].mBuffer, buffers[1]);
  EXPECT_EQ(inputRecords[1].mFrameCount, 32);
  EXPECT_EQ(outputRecords[0].mBuffer, buffers[2]);
  EXPECT_EQ(outputRecords[0].mFrameCount, 0);
  EXPECT_EQ(process.mArguments, std::vector<int32_t>{0});
  EXPECT_TRUE(process.IsRendered());
  EXPECT_EQ(cells[2], buffers[2]);

  // The second routine counts the host's frames for the outputs too and
  // passes the host's render argument.
  admin[6] = 1;
  EXPECT_EQ(DefaultRenderRoutineWithArgument(call, record), 0);
  EXPECT_EQ(outputRecords[1].mFrameCount, 8);
  EXPECT_EQ(process.mArguments.back(), 9);

  // A failed render points every output of the block at the spare buffer.
  process.mResult = -5;
  EXPECT_EQ(DefaultRenderRoutine(call, record), 0);
  EXPECT_EQ(cells[2], spare);
  EXPECT_EQ(cells[3], spare);
  EXPECT_EQ(cells[0], buffers[0]);
}
