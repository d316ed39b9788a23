#include "platform/DiskFileChannels.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/Errors.h"
#include "platform/LineBuffers.h"
#include "platform/Paths.h"

namespace trelvox {

namespace {

const char* FopenMode(OpenMode mode) {
  switch (mode) {
    case OpenMode::Input:
      return "rb";
    case OpenMode::Output:
      return "wb";
    case OpenMode::Append:
      return "ab";
  }
  return "rb";
}

std::string Describe(int errorNumber) {
  return std::strerror(errorNumber);
}

// Out of line, so that the lookups that may raise them stay small.
[[noreturn, gnu::noinline]] void ThrowNotOpen(std::int16_t number) {
  throw TrelvoxError("File channel " + std::to_string(number) + " is not open.");
}

[[noreturn, gnu::noinline]] void ThrowReadOnly(const std::string& path) {
  throw WriteError("Could not write to " + path + ": it is open for reading only.");
}

bool IsDirectory(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(path, ignored);
}

// An open file, closed when its owner lets go of it; Close takes it back to learn whether the
// last bytes reached the disk.
struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using OpenedFile = std::unique_ptr<std::FILE, FileCloser>;

OpenedFile OpenPath(const std::filesystem::path& path, OpenMode mode) {
#ifdef _WIN32
  const char* narrow = FopenMode(mode);
  const std::wstring wide(narrow, narrow + std::strlen(narrow));
  return OpenedFile(_wfopen(path.c_str(), wide.c_str()));
#else
  return OpenedFile(std::fopen(path.c_str(), FopenMode(mode)));
#endif
}

}  // namespace

struct DiskFileChannels::Channel {
  OpenedFile file;
  std::string path;
  OpenMode mode = OpenMode::Input;
  std::optional<LineInput> input;
  std::optional<LineOutput> output;  // lines written but not yet handed to the file
};

DiskFileChannels::DiskFileChannels(ByteWriter* writer) : writer_(writer) {}

DiskFileChannels::~DiskFileChannels() {
  for (int number = kFirstChannel; number <= kLastChannel; ++number) {
    CloseQuietly(static_cast<std::int16_t>(number));
  }
}

std::int16_t DiskFileChannels::FreeChannel() const {
  for (int number = kFirstChannel; number <= kLastChannel; ++number) {
    if (!channels_[number]) {
      return static_cast<std::int16_t>(number);
    }
  }
  return 0;
}

OpenResult DiskFileChannels::Open(std::int16_t number, const std::string& path, OpenMode mode) {
  if (number < kFirstChannel || number > kLastChannel) {
    return {EMFILE, "Too many files are open (no free file channel)."};
  }
  if (channels_[number]) {
    return {EBUSY, "The file channel is already in use."};
  }
  const std::filesystem::path filePath = PathFromBytes(path);
  if (IsDirectory(filePath)) {
    return {EISDIR, Describe(EISDIR)};
  }
  errno = 0;
  OpenedFile file = OpenPath(filePath, mode);
  if (!file) {
    const int error = errno != 0 ? errno : EIO;
    return {error, Describe(error)};
  }
  // Our own buffers do the buffering; a second layer would only copy the bytes again.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  auto channel = std::make_unique<Channel>();
  channel->file = std::move(file);
  channel->path = path;
  channel->mode = mode;
  if (mode == OpenMode::Input) {
    channel->input.emplace(channel->file.get(), path);
  } else {
    channel->output.emplace();
  }
  channels_[number] = std::move(channel);
  return {};
}

DiskFileChannels::Channel* DiskFileChannels::Find(std::int16_t number) const {
  if (number < kFirstChannel || number > kLastChannel) {
    return nullptr;
  }
  return channels_[number].get();
}

DiskFileChannels::Channel& DiskFileChannels::Require(std::int16_t number) const {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    ThrowNotOpen(number);
  }
  return *channel;
}

bool DiskFileChannels::IsOpen(std::int16_t number) const {
  return Find(number) != nullptr;
}

bool DiskFileChannels::AtEnd(std::int16_t number) {
  Channel* channel = Find(number);
  if (channel == nullptr || !channel->input) {
    return true;
  }
  return channel->input->AtEnd();
}

std::string_view DiskFileChannels::ReadNext(std::int16_t number) {
  Channel* channel = Find(number);
  if (channel == nullptr || !channel->input || channel->input->AtEnd()) {
    return {};
  }
  return channel->input->Next();
}

std::string_view DiskFileChannels::NextLine(std::int16_t number) {
  Channel& channel = Require(number);
  if (!channel.input) {
    return {};
  }
  return channel.input->Next();
}

void DiskFileChannels::Flush(std::int16_t number, Channel& channel) {
  if (!channel.output || channel.output->Size() == 0) {
    return;
  }
  errno = 0;
  const std::size_t written =
      writer_ != nullptr
          ? writer_->Write(channel.path, channel.output->Data(), channel.output->Size(),
                           channel.file.get())
          : std::fwrite(channel.output->Data(), 1, channel.output->Size(), channel.file.get());
  if (written != channel.output->Size()) {
    const int error = errno != 0 ? errno : EIO;
    const std::string path = channel.path;
    Release(number);
    throw WriteError("Could not write to " + path + ": " + Describe(error));
  }
  channel.output->Clear();
}

DiskFileChannels::Channel& DiskFileChannels::RequireOutput(std::int16_t number) const {
  Channel& channel = Require(number);
  if (channel.mode == OpenMode::Input) {
    ThrowReadOnly(channel.path);
  }
  return channel;
}

void DiskFileChannels::WriteLine(std::int16_t number, std::string_view text) {
  Channel& channel = RequireOutput(number);
  channel.output->Append(text);
  channel.output->Append("\r\n");
  if (channel.output->Full()) {
    Flush(number, channel);
  }
}

char* DiskFileChannels::LineRoom(std::int16_t number, std::size_t size) {
  Channel& channel = RequireOutput(number);
  if (channel.output->Full()) {
    Flush(number, channel);
  }
  return channel.output->Extend(size);
}

void DiskFileChannels::Close(std::int16_t number) {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    return;
  }
  Flush(number, *channel);
  const std::string path = channel->path;
  errno = 0;
  const int status = std::fclose(channel->file.release());
  const int error = errno != 0 ? errno : EIO;
  channels_[number].reset();
  if (status != 0) {
    throw WriteError("Could not write to " + path + ": " + Describe(error));
  }
}

void DiskFileChannels::FlushAll() {
  for (int number = kFirstChannel; number <= kLastChannel; ++number) {
    if (Channel* channel = Find(static_cast<std::int16_t>(number))) {
      Flush(static_cast<std::int16_t>(number), *channel);
    }
  }
}

void DiskFileChannels::Release(std::int16_t number) noexcept {
  channels_[number].reset();  // the file closes with its channel
}

void DiskFileChannels::CloseQuietly(std::int16_t number) noexcept {
  Channel* channel = Find(number);
  if (channel == nullptr) {
    return;
  }
  try {
    Flush(number, *channel);
  } catch (...) {
    // The command has already failed and said so; what cannot be written is dropped.
  }
  Release(number);
}

}  // namespace trelvox
