#include "platform/hitoolbox/ColorPicker.h"

#include "platform/windowserver/Backend.h"

Boolean GetColor(Point, ConstStr255Param, const RGBColor* inColor, RGBColor* outColor) {
  if (!inColor || !outColor) return false;
  platform::RGB16 chosen;
  if (!platform::Backend().PickColor(platform::RGB16{inColor->red, inColor->green, inColor->blue}, &chosen)) {
    return false;
  }
  *outColor = RGBColor{chosen.red, chosen.green, chosen.blue};
  return true;
}
