#include "editor/recovery_writer.h"

#include <unistd.h>

namespace blok {

RecoveryWriter::RecoveryWriter(bool durable)
    : durable_(durable), thread_([this](std::stop_token stop) { Run(stop); }) {}

RecoveryWriter::~RecoveryWriter() {
  // The program is going without a clean end: the newest snapshot is what the next start needs.
  WaitIdle();
  thread_.request_stop();
}

void RecoveryWriter::Write(std::filesystem::path file, RecoverySnapshot snapshot) {
  {
    const std::lock_guard lock(mutex_);
    waiting_ = Job{std::move(file), std::move(snapshot)};
  }
  wake_.notify_one();
}

void RecoveryWriter::Remove(const std::filesystem::path& file) {
  std::unique_lock lock(mutex_);
  waiting_.reset();
  idle_.wait(lock, [this] { return !running_; });
  ::unlink(file.c_str());
  error_.reset();
}

void RecoveryWriter::WaitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !running_ && !waiting_; });
}

std::optional<Error> RecoveryWriter::TakeError() {
  const std::lock_guard lock(mutex_);
  return std::exchange(error_, std::nullopt);
}

void RecoveryWriter::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!wake_.wait(lock, stop, [this] { return waiting_.has_value(); })) return;
    Job job = std::move(*waiting_);
    waiting_.reset();
    running_ = true;
    lock.unlock();
    auto written = WriteRecoveryFile(job.file, job.snapshot, durable_);
    lock.lock();
    running_ = false;
    error_ = written ? std::nullopt : std::optional(written.error());
    idle_.notify_all();
  }
}

}  // namespace blok
