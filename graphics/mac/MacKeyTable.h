#pragma once

// The keys the editor's controls are told of, as both Mac views map them
// from a key code and the character it typed.
enum EIGraphicsKey {
  KEY_SPACE = 0,
  KEY_UPARROW = 1,
  KEY_DOWNARROW = 2,
  KEY_LEFTARROW = 3,
  KEY_RIGHTARROW = 4,
  KEY_DIGIT_0 = 5,   // to KEY_DIGIT_0 + 9
  KEY_ALPHA_A = 15,  // to KEY_ALPHA_A + 25, either case
};

// The editor key, or -1 for a key the editor does not take (it goes back
// to the host). The space bar and the arrows are known by key code, digits
// and letters by character.
int MacKeyToIGraphicsKey(int keyCode, int character);
