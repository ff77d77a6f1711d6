#define PCRE2_CODE_UNIT_WIDTH 8
#include "decode/Regex.h"

#include <pcre2.h>
#include <stdexcept>
#include <string>

namespace nimbrel {

namespace {

// Enough for the widest pattern in use (four captures) with room to spare.
constexpr uint32_t MaxCaptures = 9;

} // namespace

void TRegex::CodeDeleter::operator()(pcre2_real_code_8* code) const {
    pcre2_code_free(code);
}

TRegex::TRegex(std::string_view pattern) {
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0,
                              &error, &offset, nullptr));
    if (!code_)
        throw std::logic_error("pattern does not compile at offset " + std::to_string(offset) +
                               ": " + std::string(pattern));
    // No JIT: its compiler and the executable memory it takes would be half a megabyte of every
    // tray start, to save about a microsecond per report.
}

void TRegexMatch::DataDeleter::operator()(pcre2_real_match_data_8* data) const {
    pcre2_match_data_free(data);
}

TRegexMatch::TRegexMatch() : data_(pcre2_match_data_create(MaxCaptures + 1, nullptr)) {
    if (!data_)
        throw std::bad_alloc();
}

bool TRegexMatch::Match(const TRegex& regex, std::string_view subject) {
    // The engine refuses a null subject even when it is empty.
    subject_ = subject.data() != nullptr ? subject : std::string_view("");
    const int rc = pcre2_match(regex.code_.get(), reinterpret_cast<PCRE2_SPTR>(subject_.data()),
                               subject.size(), 0, 0, data_.get(), nullptr);
    // A negative result is either "no match" or an engine limit; both mean the group is not
    // of this kind.
    captured_ = rc > 0 ? rc : 0;
    return rc > 0;
}

std::string_view TRegexMatch::Group(int n) const {
    if (n < 0 || n >= captured_)
        return {};
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data_.get());
    const PCRE2_SIZE start = ovector[2 * n];
    const PCRE2_SIZE end = ovector[2 * n + 1];
    if (start == PCRE2_UNSET || end < start)
        return {};
    return subject_.substr(start, end - start);
}

} // namespace nimbrel
