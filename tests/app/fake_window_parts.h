#pragma once
// Stand-ins for the window's boxes, help and host embedding: they answer at
// once and record what the window asked of them.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "app/dialogs.h"
#include "app/host_window.h"
#include "help/help_request.h"

namespace velquior::app::testing {

class FakeDialogs : public Dialogs {
 public:
  std::deque<std::optional<QString>> answers;  // the dialog's answers, in turn; empty: cancel
  std::vector<XmlDialogRequest> requests;
  std::vector<std::string> calls;  // "dialog", "message:..", "error:..", in order
  QWidget* form = nullptr;         // to note whether it was on screen
  std::vector<bool> form_visible;  // at each call

  std::optional<QString> ChooseXmlFile(QWidget*, const XmlDialogRequest& request) override {
    Note("dialog");
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(const QString& text) override { Note("message:" + text.toStdString()); }
  void ShowError(const QString& text) override { Note("error:" + text.toStdString()); }
  int question_answer = 2;  // what Ask returns: the cancel button
  Question question;        // the last one asked
  int Ask(const Question& q) override {
    Note("ask");
    question = q;
    return question_answer;
  }

 private:
  void Note(std::string call) {
    calls.push_back(std::move(call));
    form_visible.push_back(form != nullptr && form->isVisible());
  }
};

class FakeHelp : public help::HelpRequests {
 public:
  std::vector<std::string> calls;
  void ShowContext(int context) override { calls.push_back("context:" + std::to_string(context)); }
  void ShowContents() override { calls.push_back("contents"); }
};

class FakeEmbedder : public HostEmbedder {
 public:
  bool succeeds = true;
  std::vector<std::uint32_t> handles;
  bool Embed(QWidget& form, std::uint32_t handle) override {
    handles.push_back(handle);
    if (succeeds) form.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    return succeeds;
  }
  std::function<void()> lost;  // what the form asked to be told when the host goes
  void OnHostLost(std::function<void()> callback) override { lost = std::move(callback); }
};

}  // namespace velquior::app::testing
