// Whatever a server sends, the reply reader either fails with EFtpError or hands back replies
// within its limits.
#include "retrieval/FtpClient.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void CheckWithinLimits(const nimbrel::FtpReply& reply) {
    std::size_t bytes = 0;
    for (const std::string& line : reply.Lines) {
        bytes += line.size();
    }
    if (reply.Code < -1 || reply.Code > 999 || reply.Lines.empty() ||
        reply.Lines.size() > nimbrel::MaxReplyLines || bytes > nimbrel::MaxReplyBytes) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string pending(reinterpret_cast<const char*>(data), size);
    try {
        nimbrel::FtpReplyReader reader;
        while (const auto line = nimbrel::TakeReplyLine(pending)) {
            if (line->size() > nimbrel::MaxReplyLineBytes) {
                std::abort();
            }
            if (reader.Add(*line)) {
                CheckWithinLimits(reader.Reply());
                reader = nimbrel::FtpReplyReader();
            }
        }
    } catch (const nimbrel::EFtpError&) {
        // A server past the limits fails the run; that is the outcome wanted.
    }
    return 0;
}
