#pragma once
// Prompts that answer from a script and record what was asked. An unscripted message box is
// answered with its first button (Ok or Yes); an unscripted input box or file dialog counts
// as cancelled.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/prompts.hpp"

namespace orv::test {

struct AskedMessage {
  MessageIcon icon;
  MessageButtons buttons;
  std::string title;
  std::string text;
};

class ScriptedPrompts : public Prompts {
public:
  std::deque<MessageAnswer> answers;
  std::deque<std::optional<std::string>> inputs;
  std::deque<std::optional<std::string>> files;
  std::vector<AskedMessage> messages;
  std::vector<std::string> input_prompts;
  std::vector<std::string> input_defaults;  // the text each input box started with
  std::vector<OpenFileRequest> file_requests;
  // Choice questions: answered from `choices` (nullopt: cancelled), unscripted by the default.
  std::deque<std::optional<std::size_t>> choices;
  std::vector<ChoiceRequest> choice_requests;
  // Runs while a message box is up, as the user may act in other windows meanwhile.
  std::function<void()> while_message_shown;

  MessageAnswer Message(MessageIcon icon, MessageButtons buttons, std::string_view title,
                        std::string_view text) override {
    messages.push_back({icon, buttons, std::string(title), std::string(text)});
    if (while_message_shown) while_message_shown();
    if (answers.empty()) return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> Input(std::string_view prompt, std::string_view,
                                   std::string_view default_text) override {
    input_prompts.emplace_back(prompt);
    input_defaults.emplace_back(default_text);
    return Next(inputs);
  }
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override {
    file_requests.push_back(request);
    return Next(files);
  }

  std::optional<std::size_t> Choose(const ChoiceRequest& request) override {
    choice_requests.push_back(request);
    if (while_message_shown) while_message_shown();
    if (choices.empty()) return request.default_choice;
    auto answer = choices.front();
    choices.pop_front();
    return answer;
  }

  // The titles of the message boxes shown so far, in order.
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (const auto& m : messages) titles.push_back(m.title);
    return titles;
  }

private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& queue) {
    if (queue.empty()) return std::nullopt;
    auto value = queue.front();
    queue.pop_front();
    return value;
  }
};

}  // namespace orv::test
