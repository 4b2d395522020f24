#include "platform/win32/views/win32_images.h"

#include "base/names.h"
#include "resources/resource_ids.h"

namespace pw::win32 {

namespace {

struct NamedResource {
  const char* name;
  int id;
  UINT type;
};

constexpr NamedResource kResources[] = {
    {kProgramIcon, IDI_PROGRAM, IMAGE_ICON},
    {kWizardPicture, IDB_WIZARD, IMAGE_BITMAP},
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
  return LoadImageW(instance, MAKEINTRESOURCEW(resource.id), resource.type, width, height, flags);
}

// The picture from the cache of its kind, loaded into it the first time.
template <class Entries>
auto* Obtain(HINSTANCE instance, Entries& entries, UINT type, const std::string& name, int width,
             int height) {
  using Owned = decltype(entries.front().image);
  using Handle = decltype(entries.front().image.get());
  const NamedResource* resource = Find(name);
  if (resource == nullptr || resource->type != type) return Handle{};
  for (auto& entry : entries) {
    if (entry.name == name && entry.width == width && entry.height == height) {
      return entry.image.get();
    }
  }
  auto* image = static_cast<Handle>(Load(instance, *resource, width, height));
  if (image == nullptr) return Handle{};
  entries.push_back({name, width, height, Owned(image)});
  return image;
}

}  // namespace

bool Win32Images::IsIcon(const std::string& name) {
  const NamedResource* resource = Find(name);
  return resource != nullptr && resource->type == IMAGE_ICON;
}

HICON Win32Images::Icon(const std::string& name, int width, int height) {
  return Obtain(instance_, icons_, IMAGE_ICON, name, width, height);
}

HBITMAP Win32Images::Bitmap(const std::string& name, int width, int height) {
  return Obtain(instance_, bitmaps_, IMAGE_BITMAP, name, width, height);
}

}  // namespace pw::win32
