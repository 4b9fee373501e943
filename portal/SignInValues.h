#pragma once
// Values read from the portal's redirect addresses and the API host's replies.
// None of them parses the whole text: each searches for one key; a missing
// separator or key gives "". Matches are tried left to right; a match that does not
// follow a separator is skipped and the search goes on one character further.
//
// - urlQueryValue: in the query, from the first "?" up to the fragment's "#" (or the
//   end; a "?" inside the fragment starts no query), key + "=" after "?" or "&", up to the next "&"; "%" and two
//   hexadecimal digits give one byte, any other "%" stays as it is; "+" gives a
//   blank.
// - urlParamValue: the same part and match, without decoding.
// - urlFragmentValue: from the first "#" to the end, key + "=" after "#" or "&", up
//   to the next "&", without decoding.
// - jsonFieldValue: the first "key" (in double quotes), the next ":" after it, then
//   blanks and tabs skipped; a string value is decoded (JSON escapes, \u escapes as
//   UTF-8; a string that does not close or holds a bad escape gives ""); any other
//   value is its leading run of digits and "-" (true, null and the like give "",
//   a fraction its integer digits).
#include <string>
#include <string_view>

namespace portal {

std::string urlQueryValue(std::string_view url, std::string_view key);
std::string urlParamValue(std::string_view url, std::string_view key);
std::string urlFragmentValue(std::string_view url, std::string_view key);
std::string jsonFieldValue(std::string_view text, std::string_view key);

}  // namespace portal
