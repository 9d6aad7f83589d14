// The registry settings store against the real registry of a Wine prefix:
// where its values go, what a read does with a value shorter or longer than
// the record or missing, and what a key that cannot be opened does to reads,
// writes and removals. Run by wine_tests.sh's registry case; exit 0 when every
// check held, and a line on stderr for each that did not.
#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/types.h"
#include "platform/win32/registry_settings_store.h"

namespace {

using grazefall::platform::kEFail;
using grazefall::platform::kOk;
using grazefall::platform::win32::kSettingsKeyPath;
using grazefall::platform::win32::RegistrySettingsStore;

constexpr const char* kTestKey = "Software\\GrazefallStoreTest";
constexpr size_t kRecordSize = 352;

int failures = 0;

void Check(bool held, const std::string& what) {
  if (held) return;
  std::fprintf(stderr, "registry_store_test: %s\n", what.c_str());
  ++failures;
}

std::vector<std::byte> Bytes(size_t size, unsigned seed) {
  std::vector<std::byte> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::byte>((i * 7 + seed) & 0xFF);
  return bytes;
}

// A value as the registry itself holds it: its type and bytes.
struct RawValue {
  bool found = false;
  DWORD type = 0;
  std::vector<std::byte> bytes;
};

RawValue ReadRaw(const char* keyPath, const char* name) {
  RawValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.bytes.resize(size);
    value.found =
        RegQueryValueExA(key, name, nullptr, &value.type,
                         reinterpret_cast<BYTE*>(value.bytes.data()), &size) == ERROR_SUCCESS;
    value.bytes.resize(size);
  }
  RegCloseKey(key);
  return value;
}

void WriteRaw(const char* keyPath, const char* name, DWORD type,
              const std::vector<std::byte>& bytes) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    Check(false, std::string("could not create ") + keyPath);
    return;
  }
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

bool SetSecurity(const char* keyPath, const char* descriptor) {
  PSECURITY_DESCRIPTOR security = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(descriptor, SDDL_REVISION_1, &security,
                                                            nullptr)) {
    return false;
  }
  HKEY key = nullptr;
  bool set = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, WRITE_DAC, &key) == ERROR_SUCCESS;
  if (set) {
    set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, security) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  LocalFree(security);
  return set;
}

// Everyone may change the key's security, but nobody may read it (0x20019,
// KEY_READ), or nobody may set a value in it or make a subkey (0x6).
constexpr const char* kRefuseReads = "D:(D;;0x20019;;;WD)(A;;KA;;;WD)";
constexpr const char* kRefuseWrites = "D:(D;;0x0006;;;WD)(A;;KA;;;WD)";
constexpr const char* kAllowAll = "D:(A;;KA;;;WD)";

void ValueNamesAndPlace() {
  // The default store writes under the saver's key, one binary value per name.
  RegistrySettingsStore store;
  const std::vector<std::byte> record = Bytes(kRecordSize, 1);
  Check(store.write("Options", record) == kOk, "writing Options failed");
  const RawValue raw = ReadRaw(kSettingsKeyPath, "Options");
  Check(raw.found && raw.type == REG_BINARY && raw.bytes == record,
        "Options is not a 352-byte binary value under Control "
        "Panel\\Desktop\\ScreenSavers\\Grazefall");
  Check(std::string(kSettingsKeyPath) == "Control Panel\\Desktop\\ScreenSavers\\Grazefall",
        "the store's key path changed");

  // Each name is its own value; writing one leaves the others.
  RegistrySettingsStore test(kTestKey);
  const std::vector<std::byte> classic = Bytes(kRecordSize, 2);
  const std::vector<std::byte> custom = Bytes(kRecordSize, 3);
  Check(test.write("Classic", classic) == kOk && test.write("Custom", custom) == kOk,
        "writing two values failed");
  Check(
      ReadRaw(kTestKey, "Classic").bytes == classic && ReadRaw(kTestKey, "Custom").bytes == custom,
      "two names did not become two values");

  // A shorter write replaces the whole value.
  const std::vector<std::byte> shorter = Bytes(10, 4);
  Check(test.write("Classic", shorter) == kOk, "rewriting Classic failed");
  Check(ReadRaw(kTestKey, "Classic").bytes == shorter, "a shorter write left the old tail");

  // An empty value reads back as zero bytes.
  Check(test.write("Empty", {}) == kOk, "writing an empty value failed");
  std::vector<std::byte> buffer(kRecordSize, std::byte{0xEE});
  size_t length = 99;
  Check(test.read("Empty", buffer, &length) == kOk && length == 0,
        "an empty value did not read back as zero bytes");
}

void ShortLongAndMissing() {
  RegistrySettingsStore store(kTestKey);
  const std::vector<std::byte> untouched(kRecordSize, std::byte{0xEE});

  // Short: the bytes it has, and the rest of the buffer as it was.
  const std::vector<std::byte> shortValue = Bytes(100, 5);
  WriteRaw(kTestKey, "Short", REG_BINARY, shortValue);
  std::vector<std::byte> buffer = untouched;
  size_t length = 0;
  Check(store.read("Short", buffer, &length) == kOk && length == shortValue.size(),
        "a 100-byte value did not read as 100 bytes");
  Check(std::equal(shortValue.begin(), shortValue.end(), buffer.begin()) &&
            std::all_of(buffer.begin() + 100, buffer.end(),
                        [](std::byte b) { return b == std::byte{0xEE}; }),
        "a short value's read changed the buffer past its end");

  // Exactly the record's size.
  const std::vector<std::byte> whole = Bytes(kRecordSize, 6);
  WriteRaw(kTestKey, "Whole", REG_BINARY, whole);
  buffer = untouched;
  Check(store.read("Whole", buffer, &length) == kOk && length == kRecordSize && buffer == whole,
        "a 352-byte value did not read whole");

  // Long: refused, the buffer untouched.
  WriteRaw(kTestKey, "Long", REG_BINARY, Bytes(kRecordSize + 1, 7));
  buffer = untouched;
  length = 77;
  Check(store.read("Long", buffer, &length) == kEFail, "a 353-byte value was read into 352");
  Check(buffer == untouched && length == 77, "a refused long value changed the buffer");

  // Missing value, and a value in a key that does not exist.
  buffer = untouched;
  Check(store.read("Missing", buffer, &length) == kEFail && buffer == untouched,
        "a missing value did not fail cleanly");
  RegistrySettingsStore nowhere("Software\\GrazefallNoSuchKey");
  Check(nowhere.read("Options", buffer, &length) == kEFail && buffer == untouched,
        "a value of a missing key did not fail cleanly");
  // Removing what is not there succeeds; removing a value takes it away.
  Check(store.remove("Missing") == kOk, "removing a missing value failed");
  Check(store.remove("Short") == kOk && !ReadRaw(kTestKey, "Short").found,
        "removing a value left it");
}

void KeyThatCannotBeOpened() {
  const char* locked = "Software\\GrazefallLockedKey";
  RegistrySettingsStore store(locked);
  const std::vector<std::byte> before = Bytes(kRecordSize, 8);
  WriteRaw(locked, "Options", REG_BINARY, before);

  Check(SetSecurity(locked, kRefuseWrites), "could not make the key refuse writes");
  Check(store.write("Options", Bytes(kRecordSize, 9)) == kEFail,
        "a write to a key that refuses writing succeeded");
  Check(store.write("Custom", Bytes(kRecordSize, 9)) == kEFail,
        "a new value in a key that refuses writing was made");
  Check(store.remove("Options") == kEFail, "a removal from a key that refuses writing succeeded");
  Check(ReadRaw(locked, "Options").bytes == before && !ReadRaw(locked, "Custom").found,
        "a refused write or removal changed the key");
  std::vector<std::byte> buffer(kRecordSize);
  size_t length = 0;
  Check(store.read("Options", buffer, &length) == kOk && buffer == before,
        "a key that refuses only writes could not be read");

  Check(SetSecurity(locked, kRefuseReads), "could not make the key refuse reads");
  const std::vector<std::byte> untouched(kRecordSize, std::byte{0xEE});
  buffer = untouched;
  Check(store.read("Options", buffer, &length) == kEFail && buffer == untouched,
        "a key that refuses reading was read");

  Check(SetSecurity(locked, kAllowAll), "could not open the key again");
  Check(store.write("Options", Bytes(kRecordSize, 10)) == kOk,
        "a write failed after the key was opened again");
}

}  // namespace

int main() {
  RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
  ValueNamesAndPlace();
  ShortLongAndMissing();
  KeyThatCannotBeOpened();
  if (failures == 0) std::printf("registry_store_test: every check held\n");
  return failures == 0 ? 0 : 1;
}
