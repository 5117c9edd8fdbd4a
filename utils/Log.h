// Notes about failures that are passed over on purpose (a picture that could not be copied,
// an INI file that could not be read): the core has no logging of its own, so it hands them
// to whatever sink the program installed. The window sends them to its named logging
// categories; without a sink they go nowhere, so the headless command's output stays as it is.
#pragma once

#include <functional>
#include <string_view>

namespace scribvane {

enum class LogTopic { Branding, Generation, Editing, Persistence, Update, Publishing };

using LogSink = std::function<void(LogTopic topic, std::string_view message)>;

// Replaces the sink; an empty one drops every note.
void SetLogSink(LogSink sink);

void LogNote(LogTopic topic, std::string_view message);

} // namespace scribvane
