// A page's body taken in pieces against its bound: it holds exactly the bytes read, in order; a
// piece is refused, unread, exactly when it would take the body past the bound, and an announced
// length exactly when it lies past the bound; the room it holds never reaches past the bound.
// Input: the bound (up to 1.5 MiB, past the room's doubling) from the end, then steps: an announced
// length, or a piece's size and how much of it the read fills.
#include "FuzzInput.h"
#include "platform/PageBody.h"

FUZZ_TARGET(in) {
    const auto bound = in.ConsumeIntegralInRange<std::size_t>(0, std::size_t{3} << 19);
    vendra::PageBody body(bound);
    std::string want;
    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        // Small pieces, and sizes near the bound and near what is left of it.
        const int kind = in.ConsumeIntegralInRange(0, 2);
        const std::size_t near = kind == 0 ? bound : bound - want.size();
        const auto size = kind == 2
                              ? in.ConsumeIntegralInRange<std::size_t>(0, 70000)
                              : static_cast<std::size_t>(std::max<std::int64_t>(
                                    0, std::int64_t(near) + in.ConsumeIntegralInRange(-3, 3)));
        if (in.ConsumeBool()) {
            const std::int64_t length = in.ConsumeBool() ? -1 : std::int64_t(size);
            FUZZ_CHECK(body.expect(length) == (length <= std::int64_t(bound)));
            continue;
        }
        const std::size_t filled = std::min(size, in.ConsumeIntegral<std::size_t>() % (size + 1));
        bool read = false;
        const bool taken = body.append(size, [&](char* into, std::size_t room) {
            read = true;
            FUZZ_CHECK(room == size);
            for (std::size_t i = 0; i < filled; ++i) into[i] = char((want.size() + i) % 251);
            return filled;
        });
        FUZZ_CHECK(taken == (size <= bound - want.size()) && read == taken);
        for (std::size_t i = 0; taken && i < filled; ++i) want += char(want.size() % 251);
        FUZZ_CHECK(body.text().size() == want.size());
        // A string holds 15 bytes in place, and takes no less than 30 once it leaves them.
        FUZZ_CHECK(body.text().capacity() <= std::max<std::size_t>(bound, 30));
    }
    FUZZ_CHECK(body.text() == want);
}
