#include "owner/protocol.h"

#include <algorithm>
#include <array>

namespace pw::owner {

namespace {

constexpr std::size_t kReplySize = 8;
constexpr std::uint8_t kPageMarker = 'H';
constexpr std::size_t kPageHead = 16;

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t n) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(n >> shift));
}

// Reads from the front of the bytes, refusing to step past their end.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::uint8_t> Byte() {
    if (bytes_.empty()) return std::nullopt;
    const std::uint8_t b = bytes_.front();
    bytes_ = bytes_.subspan(1);
    return b;
  }
  std::optional<std::uint32_t> U32() {
    if (bytes_.size() < 4) return std::nullopt;
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | bytes_[static_cast<std::size_t>(i)];
    bytes_ = bytes_.subspan(4);
    return n;
  }
  std::optional<std::span<const std::uint8_t>> Bytes(std::size_t length) {
    if (bytes_.size() < length) return std::nullopt;
    const auto taken = bytes_.first(length);
    bytes_ = bytes_.subspan(length);
    return taken;
  }
  std::optional<std::string> Text(std::size_t length) {
    if (bytes_.size() < length) return std::nullopt;
    std::string text(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(length));
    bytes_ = bytes_.subspan(length);
    return text;
  }
  // The four bytes that open a reply and a History page: the version, then three of the kind's.
  std::optional<std::array<std::uint8_t, 4>> Head() {
    const auto taken = Bytes(4);
    if (!taken) return std::nullopt;
    return std::array<std::uint8_t, 4>{(*taken)[0], (*taken)[1], (*taken)[2], (*taken)[3]};
  }
  bool AtEnd() const { return bytes_.empty(); }

 private:
  std::span<const std::uint8_t> bytes_;
};

bool KnownAsk(std::uint8_t kind) {
  return kind >= static_cast<std::uint8_t>(Ask::CheckUnlock) &&
         kind <= static_cast<std::uint8_t>(Ask::ReadHistory);
}

}  // namespace

std::vector<std::uint8_t> Encode(const Request& request) {
  std::vector<std::uint8_t> out{kVersion, static_cast<std::uint8_t>(request.ask)};
  PutU32(out, static_cast<std::uint32_t>(request.fields.size()));
  for (const std::string& field : request.fields) {
    PutU32(out, static_cast<std::uint32_t>(field.size()));
    out.insert(out.end(), field.begin(), field.end());
  }
  return out;
}

std::optional<Request> DecodeRequest(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kLongestMessage) return std::nullopt;
  Reader in(bytes);
  const auto version = in.Byte();
  const auto kind = in.Byte();
  const auto count = in.U32();
  if (version != kVersion || !kind || !KnownAsk(*kind) || !count || *count > kMostFields) {
    return std::nullopt;
  }
  Request request{static_cast<Ask>(*kind), {}};
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto length = in.U32();
    if (!length || *length > kLongestField) return std::nullopt;
    auto text = in.Text(*length);
    if (!text) return std::nullopt;
    request.fields.push_back(std::move(*text));
  }
  if (!in.AtEnd()) return std::nullopt;
  return request;
}

std::vector<std::uint8_t> Encode(const Reply& reply) {
  std::vector<std::uint8_t> out{kVersion, static_cast<std::uint8_t>(reply.answer),
                                static_cast<std::uint8_t>(reply.mayStore ? 1 : 0), 0};
  PutU32(out, reply.seconds);
  return out;
}

std::optional<Reply> DecodeReply(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kReplySize) return std::nullopt;
  Reader in(bytes);
  const auto head = in.Head();
  const auto seconds = in.U32();
  if (!head || !seconds) return std::nullopt;
  const auto [version, answer, mayStore, reserved] = *head;
  if (version != kVersion || answer > static_cast<std::uint8_t>(Answer::BadRequest) ||
      mayStore > 1 || reserved != 0) {
    return std::nullopt;
  }
  return Reply{static_cast<Answer>(answer), *seconds, mayStore == 1};
}

HistoryPage PageOf(std::span<const history::Entry> entries, std::uint32_t skip,
                   std::uint32_t most) {
  const auto total = static_cast<std::uint32_t>(entries.size());
  skip = std::min(skip, total);
  HistoryPage page{total, skip, {}};
  std::size_t size = kPageHead;
  for (std::size_t i = entries.size() - skip; i > 0 && page.entries.size() < most; --i) {
    const history::Entry& entry = entries[i - 1];
    const std::size_t more = 4 + history::Encode(entry).size();
    if (size + more > kLongestPage) break;
    size += more;
    page.entries.push_back(entry);
  }
  return page;
}

std::vector<std::uint8_t> Encode(const HistoryPage& page) {
  std::vector<std::uint8_t> out{kVersion, kPageMarker, 0, 0};
  PutU32(out, page.total);
  PutU32(out, page.skipped);
  PutU32(out, static_cast<std::uint32_t>(page.entries.size()));
  for (const history::Entry& entry : page.entries) {
    const std::vector<std::uint8_t> bytes = history::Encode(entry);
    PutU32(out, static_cast<std::uint32_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

std::optional<HistoryPage> DecodeHistoryPage(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kPageHead || bytes.size() > kLongestPage) return std::nullopt;
  Reader in(bytes);
  const auto head = in.Head();
  const auto total = in.U32();
  const auto skipped = in.U32();
  const auto count = in.U32();
  if (head != std::array<std::uint8_t, 4>{kVersion, kPageMarker, 0, 0} || !total || !skipped ||
      !count || *total > kMostEntries || *count > *total || *skipped > *total - *count) {
    return std::nullopt;
  }
  HistoryPage page{*total, *skipped, {}};
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto length = in.U32();
    if (!length) return std::nullopt;
    const auto body = in.Bytes(*length);
    if (!body) return std::nullopt;
    auto entry = history::Decode(*body);
    if (!entry) return std::nullopt;
    page.entries.push_back(std::move(*entry));
  }
  if (!in.AtEnd()) return std::nullopt;
  return page;
}

}  // namespace pw::owner
