// Message boxes: a failure that needs a person's attention is handed to the
// installed sink. The default sink writes "caption: text" to standard error
// (silenced by VOXAMEN_MESSAGES=none); GUI programs install a dialog sink and
// tests a capturing one. Showing a message never ends the process.
//
// Each library carries its own copy of this layer, so a sink installed by a
// program reaches the messages of code linked into that program; messages of
// a server library loaded by path go to that library's default sink.
#pragma once

#include <string>

namespace vox {

enum class MessageIcon { Error, Warning, Information };

using MessageSink = void (*)(const std::string& caption, const std::string& text, MessageIcon icon);

void MessageBox(const std::string& caption, const std::string& text,
                MessageIcon icon = MessageIcon::Error);

// Installs a sink; nullptr restores the default. Returns the previous sink.
MessageSink SetMessageSink(MessageSink sink);

// The default: one line on standard error unless VOXAMEN_MESSAGES=none.
void StderrMessageSink(const std::string& caption, const std::string& text, MessageIcon icon);

}  // namespace vox
