#pragma once
// What the program asks the user through the system's standard prompts: message boxes, the
// text input box and the open-file dialog. The Win32 adapter shows the real ones; tests
// script the answers, so every flow that asks is exercised without a screen.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

enum class MessageIcon { None, Information, Question, Warning, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The open-file dialog's request. `filter` pairs are separated by '|', as in
// "ユーザーデータ (*.orv)|*.orv|すべてのファイル (*.*)|*.*".
struct OpenFileRequest {
  std::string title;
  std::string filter;
  std::string initial_folder;
  std::string default_extension;  // without the dot; added when the user types none
  bool must_exist = true;
};

// A question answered by one of several commands (a task dialog's command links), or cancelled.
struct ChoiceRequest {
  std::string title;
  std::string instruction;  // the question, in large type
  std::string content;      // what it is about
  std::vector<std::string> choices;
  std::size_t default_choice = 0;
};

class Prompts {
public:
  virtual ~Prompts() = default;
  // A modal message box; the answer is the button pressed (closing it counts as Cancel or No).
  virtual MessageAnswer Message(MessageIcon icon, MessageButtons buttons, std::string_view title,
                                std::string_view text) = 0;
  // The text typed, or nullopt when the user cancelled.
  virtual std::optional<std::string> Input(std::string_view prompt, std::string_view title,
                                           std::string_view default_text) = 0;
  // The chosen file's full path, or nullopt when the user cancelled.
  virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
  // The index of the chosen command, or nullopt when cancelled. Prompts that cannot show
  // such a question cancel it.
  virtual std::optional<std::size_t> Choose(const ChoiceRequest&) { return std::nullopt; }
};

}  // namespace orv
