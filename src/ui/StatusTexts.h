// The user-visible texts of the launcher in its nine languages: language key in, text out.
// Any key other than the eight non-English ones (compared exactly) gives the English text. The
// texts are UTF-8.
#pragma once

#include <string>

// The one-line text of the status dialog.
const char* dialogText(const char* language);
// The numbered status text of an installation step (1 to 5); any other number gives "".
const char* statusText(const char* language, unsigned number);
// The status dialog's text while a package that cannot be written is copied to TEMP.
const char* copyingText(const char* language);
// The hint that follows an error message without details; begins with two line feeds.
const char* errorSuffix(const char* language);
// The error box text: message, two carriage returns and the details when there are details,
// else message and the language's suffix. A null message counts as empty. Message and details
// are UTF-8 as well.
std::string composeErrorText(const char* message, const char* details, const char* language);
