#pragma once

#include <cstdint>
#include <string>

// A value the host can see, automate, show as text and drive from a control
// surface. The host knows it only as a signed 32-bit control value spanning
// the whole integer range; each kind maps that onto its own range and
// converts between values and texts. The virtual operations are in the
// order of the host library's table.
class CPluginControl {
 public:
  // The value starts at the bottom of the host range; each kind's
  // constructor then sets it to the default.
  CPluginControl(uint32_t id, const char* name);
  virtual ~CPluginControl() = default;

  virtual uint32_t GetID() const { return mID; }
  virtual int32_t GetDefaultValue() const = 0;
  virtual void SetDefaultValue(int32_t value);
  virtual int32_t GetNumSteps() const = 0;
  // Unreadable text throws CDAEError -7401 (continuous kinds only).
  virtual int32_t ConvertStringToValue(const char* text) const = 0;
  virtual bool IsKeyAcceptable(unsigned char key) const = 0;
  // The name form that fits maxLength characters, terminated; the buffer
  // holds maxLength + 1 bytes. The tag names the requester and is not used.
  virtual void GetNameOfLength(char* buffer, int32_t maxLength, uint32_t tag) const;
  // Two attributes whose meaning to the host is not settled: 0 in every kind.
  virtual int32_t GetAttribute1() const { return 0; }
  virtual int32_t GetAttribute2() const { return 0; }
  virtual bool IsContinuous() const = 0;
  // At most maxLength characters and a terminator into buffer.
  virtual void ConvertValueToString(char* buffer, int32_t maxLength, int32_t value) const = 0;
  virtual bool IsAutomatable() const = 0;

  // The value word, read and written without any check.
  int32_t GetValue() const { return mValue; }
  void SetValue(int32_t value) { mValue = value; }

  const std::string& GetName() const { return mName; }

 private:
  int32_t mValue;
  uint32_t mID;
  std::string mName;
};
