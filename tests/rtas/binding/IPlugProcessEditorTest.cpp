// The editor binding of one process, made directly with the engine's
// stand-in loaded: the window opens with the host's port, and a resize
// from the editor closes it, rebuilds and asks the host for a new window.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "graphics/IGraphics.h"
#include "platform/hitoolbox/MacWindows.h"
#include "platform/protools/HostWords.h"
#include "rtas/binding/IPlugCustomUI.h"
#include "rtas/binding/IPlugDigiView.h"
#include "rtas/binding/IPlugProcessRTAS.h"
#include "rtas/binding/IPlugRTAS.h"
#include "rtas/library/FourCC.h"
#include "rtas/library/HostFrameworkAccess.h"
#include "rtas/views/ViewRegistry.h"
#include "tests/rtas/library/StandInFrameworks.h"

namespace {

uint32_t Word(const uint8_t* token, size_t offset) {
  uint32_t word = 0;
  std::memcpy(&word, token + offset, sizeof(word));
  return word;
}

class ProcessEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitDAELibAccess(), 0);
    RegisterViewClass(IPlugDigiView::kClassName, CreateDigiView);
    process = std::make_unique<IPlugProcessRTAS>(FourCC("KB30"));
    const Rect content{0, 0, 632, 872};
    ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowCompositingAttribute, &content, &window), 0);
  }
  void TearDown() override {
    process.reset();
    DisposeWindow(window);
  }

  bool EditorOpen() const { return process->GetCustomUI() && process->GetCustomUI()->IsOpen(); }
  int32_t Tokens() const { return frameworks.DAE()->CountDispatchedTokens(); }

  StandInFrameworks frameworks;
  std::unique_ptr<IPlugProcessRTAS> process;
  WindowRef window = nullptr;
};

}  // namespace

TEST_F(ProcessEditor, TheViewRectAndTheContainer) {
  Rect frame{-1, -1, -1, -1};
  ASSERT_EQ(process->GetViewRect(&frame), 0);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.bottom, 632);
  EXPECT_EQ(frame.right, 872);
  std::unique_ptr<CPlugInView> container(process->CreateCustomView());
  ASSERT_NE(container, nullptr);
  ASSERT_NE(process->GetCustomView(), nullptr);
  EXPECT_EQ(container->GetFirstChild(), process->GetCustomView());
  EXPECT_EQ(process->GetCustomView()->GetDigiView(), process->GetCustomUI());
}

TEST_F(ProcessEditor, ThePortOpensAndClosesTheEditor) {
  IGraphics* graphics = process->GetPlugGraphics();
  ASSERT_NE(graphics, nullptr);
  OpaqueGrafPtr* port = GetWindowPort(window);
  process->GetViewRect(nullptr);
  // The first open fits the editor to its scale, which closes it again
  // and asks the host for a window: unlinked, the host hears it too.
  const int32_t before = Tokens();
  ASSERT_EQ(process->SetViewPort(port), 0);
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Tokens(), before + 1);
  // The host opens the editor in its window again; it stays.
  ASSERT_EQ(process->SetViewPort(port), 0);
  EXPECT_TRUE(EditorOpen());
  EXPECT_TRUE(graphics->WindowIsOpen());
  EXPECT_EQ(Tokens(), before + 1);
  // A second port while open: the old window closes first.
  ASSERT_EQ(process->SetViewPort(port), 0);
  EXPECT_TRUE(EditorOpen());
  ASSERT_EQ(process->SetViewPort(nullptr), 0);
  EXPECT_FALSE(EditorOpen());
  EXPECT_FALSE(graphics->WindowIsOpen());
  ASSERT_EQ(process->SetViewPort(nullptr), 0);
  EXPECT_FALSE(EditorOpen());
}

TEST_F(ProcessEditor, AResizeClosesRebuildsAndAsksForANewWindow) {
  process->GetViewRect(nullptr);
  ASSERT_EQ(process->SetViewPort(GetWindowPort(window)), 0);
  ASSERT_EQ(process->SetViewPort(GetWindowPort(window)), 0);
  ASSERT_TRUE(EditorOpen());
  const int32_t before = Tokens();
  // What the editor's resize reaches through the plug-in.
  EXPECT_TRUE(process->GetPlug()->ResizeGraphics(1090, 790, true));
  EXPECT_FALSE(EditorOpen());
  ASSERT_EQ(Tokens(), before + 1);
  uint8_t token[64] = {};
  ASSERT_EQ(frameworks.DAE()->GetDispatchedToken(before, token, sizeof(token)),
            static_cast<int32_t>(hostwords::kTokenHeaderBytes));
  EXPECT_EQ(Word(token, hostwords::kTokenType), FourCC("SETV"));
  EXPECT_EQ(Word(token, hostwords::kTokenSubType), FourCC("WNRS"));
  EXPECT_EQ(Word(token, hostwords::kTokenManufacturer), FourCC("DGDN"));
  EXPECT_EQ(Word(token, hostwords::kTokenProtocol), FourCC("Proc"));
  // Not linked to the engine: to no one in particular.
  EXPECT_EQ(Word(token, hostwords::kTokenDestination), 0u);
  // The host's answer: the same port again.
  ASSERT_EQ(process->SetViewPort(GetWindowPort(window)), 0);
  EXPECT_TRUE(EditorOpen());
}
