#include "platform/win32/views/win32_images.h"

#include "resources/resource_ids.h"

namespace pw::winui {

namespace {

struct NamedResource {
  const char* name;
  int id;
  UINT type;
};

constexpr NamedResource kResources[] = {
    {"IDI_PROGRAM", IDI_PROGRAM, IMAGE_ICON},
    {"IDB_WIZARD", IDB_WIZARD, IMAGE_BITMAP},
};

const NamedResource* Find(const std::string& name) {
  for (const NamedResource& resource : kResources) {
    if (name == resource.name) return &resource;
  }
  return nullptr;
}

HANDLE Load(HINSTANCE instance, const NamedResource& resource, int width, int height) {
  const UINT flags =
      (width == 0 && height == 0 && resource.type == IMAGE_ICON) ? LR_DEFAULTSIZE : 0u;
  return LoadImageA(instance, MAKEINTRESOURCEA(resource.id), resource.type, width, height, flags);
}

template <class Entries>
auto* Cached(Entries& entries, const std::string& name, int width, int height) {
  for (auto& entry : entries) {
    if (entry.name == name && entry.width == width && entry.height == height) {
      return entry.image.get();
    }
  }
  return decltype(entries.front().image.get()){};
}

}  // namespace

bool Win32Images::IsIcon(const std::string& name) {
  const NamedResource* resource = Find(name);
  return resource != nullptr && resource->type == IMAGE_ICON;
}

HICON Win32Images::Icon(const std::string& name, int width, int height) {
  const NamedResource* resource = Find(name);
  if (resource == nullptr || resource->type != IMAGE_ICON) return nullptr;
  if (HICON icon = Cached(icons_, name, width, height)) return icon;
  auto* icon = static_cast<HICON>(Load(instance_, *resource, width, height));
  if (icon == nullptr) return nullptr;
  icons_.push_back({name, width, height, UniqueIcon(icon)});
  return icon;
}

HBITMAP Win32Images::Bitmap(const std::string& name, int width, int height) {
  const NamedResource* resource = Find(name);
  if (resource == nullptr || resource->type != IMAGE_BITMAP) return nullptr;
  if (HBITMAP bitmap = Cached(bitmaps_, name, width, height)) return bitmap;
  auto* bitmap = static_cast<HBITMAP>(Load(instance_, *resource, width, height));
  if (bitmap == nullptr) return nullptr;
  bitmaps_.push_back({name, width, height, UniqueBitmap(bitmap)});
  return bitmap;
}

}  // namespace pw::winui
