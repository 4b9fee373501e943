#pragma once
// The text of "UserDefault.xml": the saved settings as one XML document
//
//   <?xml version="1.0" encoding="utf-8"?>
//   <userDefaultRoot>
//       <volume>0.5</volume>
//       <entry hexKey="6d79206b6579" hexValue="00ff"/>
//   </userDefaultRoot>
//
// A key that is an XML name (ASCII letters, digits, "_", "-", ".", not starting
// with a digit, "-", "." or "xml") whose value is text an XML reader gives back
// unchanged (valid UTF-8 without control characters other than tab and line
// feed, no blank at either end) is an element of that name holding the value.
// Any other pair is an "entry" element with both sides in hexadecimal, so every
// key and value (zero bytes included) survives the round trip.
//
// Reading takes any bytes: a document that does not parse, or whose root is not
// userDefaultRoot, fails with the reason; an entry whose hexadecimal does not
// decode is skipped and counted. A key given twice keeps its last value.
#include <cstddef>
#include <map>
#include <string>

namespace engine {

using UserDefaultValues = std::map<std::string, std::string>;

std::string writeUserDefaultXml(const UserDefaultValues& values);

struct UserDefaultXmlRead {
    bool ok = false;
    std::string error;     // why the document was refused
    size_t skipped = 0;    // entries that did not decode
};
UserDefaultXmlRead readUserDefaultXml(const std::string& text, UserDefaultValues* values);

}  // namespace engine
