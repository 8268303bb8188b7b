// Tags in replies: the brain marks emoticons and commands with "<...>" runs that the user
// never sees. Every place that shows, records or compares a reply takes them out the same way.
#pragma once

#include <string>

namespace tamzel::base {

// `text` without its tags: each '<' starts a tag that runs to the next '>'; a '<' with no
// '>' after it takes the rest of the text along. A '>' outside a tag stays.
std::string StripTags(const std::string& text);

}  // namespace tamzel::base
