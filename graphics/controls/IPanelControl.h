#pragma once

#include "graphics/IColor.h"
#include "graphics/IControl.h"

// A rectangle filled with one colour; the editor's background.
class IPanelControl : public IControl {
 public:
  IPanelControl(IPlugBase* plug, const IRECTResize& rect, const IColor& color,
                const IChannelBlend& blend = IChannelBlend())
      : IControl(plug, rect, -1, blend), mColor(color) {}

  bool Draw(IGraphics* graphics) override;

  const IColor& GetColor() const { return mColor; }

 protected:
  IColor mColor;
};
