#pragma once
// A thin owner of compiled regular expressions and their match results. A pattern is compiled
// once; matching a short group then costs well under a microsecond, which is what lets a whole
// station list decode without a noticeable pause.
#include <memory>
#include <string_view>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

namespace nimbrel {

// Immutable once built, so one compiled pattern may serve every decoder and thread.
class TRegex {
public:
    // Throws std::logic_error when the pattern does not compile: the patterns are the
    // program's own, so that is a programming error.
    explicit TRegex(std::string_view pattern);

private:
    friend class TRegexMatch;
    struct CodeDeleter {
        void operator()(pcre2_real_code_8* code) const;
    };
    std::unique_ptr<pcre2_real_code_8, CodeDeleter> code_;
};

// The captures of the last successful match. One per decoder, reused for every group, so
// matching allocates nothing. The subject must outlive the use of Group().
class TRegexMatch {
public:
    TRegexMatch();

    // Whether the pattern matches the subject (searching, so "^" anchors at its start).
    bool Match(const TRegex& regex, std::string_view subject);
    // Capture n of the last match; the empty text when it took no part in the match.
    std::string_view Group(int n) const;

private:
    struct DataDeleter {
        void operator()(pcre2_real_match_data_8* data) const;
    };
    std::unique_ptr<pcre2_real_match_data_8, DataDeleter> data_;
    std::string_view subject_;
    int captured_ = 0;
};

} // namespace nimbrel
