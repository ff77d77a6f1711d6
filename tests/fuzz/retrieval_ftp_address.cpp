// Any 227 reply names a valid address or none, and every PORT argument the client writes reads
// back as the address and port it was made from.
#include "retrieval/FtpClient.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto target = nimbrel::ParsePassiveReply(text)) {
        std::error_code ec;
        asio::ip::make_address_v4(target->Address, ec);
        if (ec) {
            std::abort();
        }
    }
    if (size >= 6) {
        const asio::ip::address_v4 address({data[0], data[1], data[2], data[3]});
        const auto port = static_cast<uint16_t>(data[4] * 256 + data[5]);
        const auto back = nimbrel::ParsePassiveReply("227 Entering Passive Mode (" +
                                                     nimbrel::PortArgument(address, port) + ").");
        if (!back || back->Address != address.to_string() || back->Port != port) {
            std::abort();
        }
    }
    return 0;
}
