// Reading one value from a registry that holds fuzzer-chosen type and bytes, and that answers
// each query with a fuzzer-chosen result code, type and reported size, true or not.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/registry_api.h"
#include "store/registry_module.h"

namespace pw::fuzz {
namespace {

constexpr RegKey kRoot = HKEY_LOCAL_MACHINE_;
constexpr std::uint32_t kLargest = 64u << 20;

class HostileRegistry : public RegistryApi {
 public:
  explicit HostileRegistry(FuzzedDataProvider& in) : in_(in) {
    openFails = in_.ConsumeIntegralInRange<int>(0, 15) == 0;
    type = PickType();
    honest = in_.ConsumeBool();
    data = in_.ConsumeBytes<std::uint8_t>(in_.ConsumeIntegralInRange<std::size_t>(0, 3000));
  }

  long RegOpenKeyExA(RegKey root, const std::string&, std::uint32_t, std::uint32_t access,
                     RegKey& result) override {
    Require(root == kRoot && access == KEY_READ_, "a read opens the key for reading only");
    if (openFails) return ERROR_FILE_NOT_FOUND_;
    result = nextHandle_++;
    open_.insert(result);
    return ERROR_SUCCESS_;
  }
  long RegCreateKeyExA(RegKey, const std::string&, std::uint32_t, std::uint32_t, RegKey&,
                       std::uint32_t&) override {
    Require(false, "a read creates no key");
    return ERROR_ACCESS_DENIED_;
  }
  long RegSetValueExA(RegKey, const std::string&, std::uint32_t, const std::uint8_t*,
                      std::uint32_t) override {
    Require(false, "a read writes nothing");
    return ERROR_ACCESS_DENIED_;
  }
  long RegDeleteValueA(RegKey, const std::string&) override {
    Require(false, "a read deletes nothing");
    return ERROR_ACCESS_DENIED_;
  }
  long RegNotifyChangeKeyValue(RegKey, std::function<void()>) override {
    Require(false, "a read asks for no notices");
    return ERROR_ACCESS_DENIED_;
  }
  long RegCloseKey(RegKey key) override {
    Require(open_.erase(key) == 1, "only open keys are closed, each once");
    return ERROR_SUCCESS_;
  }

  long RegQueryValueExA(RegKey key, const std::string&, std::uint32_t& reportedType,
                        std::uint8_t* buffer, std::uint32_t& size) override {
    Require(open_.count(key) == 1, "queries go to an open key");
    Require(++queries_ <= 2, "at most two queries a read");
    const std::uint32_t room = size;
    if (honest) {
      reportedType = type;
      const auto length = static_cast<std::uint32_t>(data.size());
      size = length;
      if (length > room) return ERROR_MORE_DATA_;
      if (buffer != nullptr) std::copy(data.begin(), data.end(), buffer);
      written = length;
      return ERROR_SUCCESS_;
    }
    // A registry that lies: a result code, a type and a size of its own choosing. It still
    // never writes past the room it was given, as no registry does.
    reportedType = in_.ConsumeBool() ? type : PickType();
    const int code = in_.ConsumeIntegralInRange<int>(0, 3);
    const long result = code == 0   ? ERROR_SUCCESS_
                        : code == 1 ? ERROR_MORE_DATA_
                        : code == 2 ? ERROR_FILE_NOT_FOUND_
                                    : ERROR_INVALID_HANDLE_;
    written = std::min<std::uint32_t>(room, static_cast<std::uint32_t>(data.size()));
    if (buffer != nullptr) std::copy(data.begin(), data.begin() + written, buffer);
    switch (in_.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        size = static_cast<std::uint32_t>(data.size());
        break;
      case 1:
        size = in_.ConsumeIntegral<std::uint32_t>();
        break;
      case 2:
        size = in_.ConsumeIntegralInRange<std::uint32_t>(0, 4096);
        break;
      default:
        size = room + in_.ConsumeIntegralInRange<std::uint32_t>(0, 16);
        break;
    }
    return result;
  }

  bool AllClosed() const { return open_.empty(); }

  bool openFails = false;
  bool honest = true;
  std::uint32_t type = REG_NONE_;
  std::vector<std::uint8_t> data;
  std::uint32_t written = 0;  // bytes placed in the caller's buffer by the last query

 private:
  std::uint32_t PickType() {
    static constexpr std::uint32_t kTypes[] = {REG_NONE_,     REG_SZ_,    REG_EXPAND_SZ_,
                                               REG_BINARY_,   REG_DWORD_, REG_DWORD_BIG_ENDIAN_,
                                               REG_MULTI_SZ_, 11,         0xFFFFFFFFu};
    return in_.PickValueInArray(kTypes);
  }

  FuzzedDataProvider& in_;
  std::set<RegKey> open_;
  RegKey nextHandle_ = 0x100;
  int queries_ = 0;
};

// What an honest registry's value reads as.
RegistryValue Expected(const HostileRegistry& r, const RegistryValue& fallback) {
  const std::vector<std::uint8_t>& d = r.data;
  const std::string text(d.begin(), d.end());
  switch (r.type) {
    case REG_SZ_:
    case REG_EXPAND_SZ_:
      return !text.empty() && text.back() == '\0' ? text.substr(0, text.size() - 1) : text;
    case REG_MULTI_SZ_: {
      std::string t = text;
      for (int i = 0; i < 2 && !t.empty() && t.back() == '\0'; ++i) t.pop_back();
      return t;
    }
    case REG_BINARY_:
      return ByteArray{d, 0};
    case REG_DWORD_: {
      std::uint32_t n = 0;
      for (std::size_t i = 0; i < 4 && i < d.size(); ++i) n |= std::uint32_t{d[i]} << (8 * i);
      return static_cast<std::int32_t>(n);
    }
    default:
      return fallback;
  }
}

bool SameValue(const RegistryValue& a, const RegistryValue& b) {
  if (a.index() != b.index()) return false;
  if (const auto* x = std::get_if<ByteArray>(&a)) {
    const auto& y = std::get<ByteArray>(b);
    return x->bytes == y.bytes && x->lowerBound == y.lowerBound;
  }
  return a == b;
}

}  // namespace

void CheckOneInput(FuzzedDataProvider& in) {
  const RegistryValue fallback =
      in.ConsumeBool() ? RegistryValue(Empty{}) : RegistryValue(std::string("default"));
  HostileRegistry registry(in);
  RegistryModule store(registry);
  const RegistryValue got = store.GetRegValue(kRoot, "SOFTWARE\\Test", "Value", fallback);

  Require(registry.AllClosed(), "every opened key is closed");
  if (registry.openFails) Require(SameValue(got, fallback), "no key: the default");
  if (registry.honest && !registry.openFails && registry.data.size() <= kLargest) {
    Require(SameValue(got, Expected(registry, fallback)), "a true value reads as stored");
  }
  // Whatever the registry claims, what comes back is the value's own bytes, and past what the
  // registry wrote only the zeros the buffer was prepared with: never memory of anything else.
  auto ownBytes = [&](const std::uint8_t* got, std::size_t length) {
    const std::size_t real = std::min<std::size_t>(length, registry.written);
    return std::equal(got, got + real, registry.data.begin()) &&
           std::all_of(got + real, got + length, [](std::uint8_t b) { return b == 0; });
  };
  if (const auto* text = std::get_if<std::string>(&got); text && !SameValue(got, fallback)) {
    Require(ownBytes(reinterpret_cast<const std::uint8_t*>(text->data()), text->size()),
            "a text holds only the value's bytes");
  }
  if (const auto* array = std::get_if<ByteArray>(&got)) {
    Require(ownBytes(array->bytes.data(), array->bytes.size()),
            "a byte array holds only the value's bytes");
    Require(array->lowerBound == 0, "a byte array counts from 0");
  }
}

}  // namespace pw::fuzz
