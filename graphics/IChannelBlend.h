#pragma once

// How a drawing call combines its source with the surface, and at what
// weight (0..1). A greyed control draws at a quarter weight.
struct IChannelBlend {
  enum EBlendMethod { kBlendNone = 0, kBlendClobber = 1, kBlendAdd = 2, kBlendColorDodge = 3 };

  int mMethod = kBlendNone;
  float mWeight = 1.0f;

  IChannelBlend() = default;
  explicit IChannelBlend(int method, float weight = 1.0f) : mMethod(method), mWeight(weight) {}

  // The raster blend word. Method 0 and unknown methods copy with source
  // alpha like a missing blend; only method 1 ignores the source alpha.
  static int ModeOf(const IChannelBlend* blend) {
    if (!blend) return 0x10000;
    switch (blend->mMethod) {
      case kBlendClobber: return 0;
      case kBlendAdd: return 0x10001;
      case kBlendColorDodge: return 0x10002;
      default: return 0x10000;
    }
  }
  static float WeightOf(const IChannelBlend* blend) { return blend ? blend->mWeight : 1.0f; }
};
