// A Messages implementation for tests: records every text and icon and
// answers Yes/No questions with a preset answer.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "common/Messages.h"

namespace twr::test {

class RecordingMessages : public Messages {
 public:
  struct Record {
    std::string text;
    MessageIcon icon;
    bool question;
    std::string detail;
    std::string help;  // the help page and anchor offered with it
  };
  explicit RecordingMessages(bool answer = true) : answer_(answer) {}
  void Show(const std::string& text, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back({text, icon, false, {}, {}});
  }
  void ShowDetailed(const std::string& text, const std::string& detail, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back({text, icon, false, detail, {}});
  }
  void ShowWithHelp(const std::string& text, const std::string& detail, MessageIcon icon,
                    const std::string& help) override {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back({text, icon, false, detail, help});
  }
  bool AskYesNo(const std::string& text, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    records_.push_back({text, icon, true, {}, {}});
    return answer_;
  }
  std::vector<Record> Records() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_;
  }
  std::string Last() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return records_.empty() ? std::string() : records_.back().text;
  }
  void SetAnswer(bool answer) { answer_ = answer; }

 private:
  mutable std::mutex mutex_;
  std::vector<Record> records_;
  bool answer_;
};

}  // namespace twr::test
