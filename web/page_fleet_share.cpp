#include "page_fleet_share.h"

#include <emscripten/emscripten.h>

namespace kestrin {

namespace {

EM_JS(int, share_bytes, (), { return Module['fleetShare'].byteLength; });
EM_JS(int, share_word, (int index), { return Atomics.load(new Int32Array(Module['fleetShare'], 0, 4), index); });
EM_JS(void, share_set_word, (int index, int value), {
    const words = new Int32Array(Module['fleetShare'], 0, 4);
    Atomics.store(words, index, value);
    Atomics.notify(words, index);
});
EM_JS(int, share_move, (int from, int to), {
    const words = new Int32Array(Module['fleetShare'], 0, 4);
    const moved = Atomics.compareExchange(words, 0, from, to) === from;
    if (moved) Atomics.notify(words, 0);
    return moved ? 1 : 0;
});
EM_JS(void, share_wait, (int now), { Atomics.wait(new Int32Array(Module['fleetShare'], 0, 4), 0, now); });
EM_JS(void, share_write, (int offset, const void* bytes, int size), {
    new Uint8Array(Module['fleetShare'], offset, size).set(HEAPU8.subarray(bytes, bytes + size));
});
EM_JS(void, share_read, (int offset, void* bytes, int size), {
    HEAPU8.set(new Uint8Array(Module['fleetShare'], offset, size), bytes);
});

}  // namespace

std::size_t PageFleetShare::Bytes() const { return static_cast<std::size_t>(share_bytes()); }
std::int32_t PageFleetShare::State() const { return share_word(0); }
bool PageFleetShare::Move(std::int32_t from, std::int32_t to) { return share_move(from, to) != 0; }
void PageFleetShare::Set(std::int32_t to) { share_set_word(0, to); }
void PageFleetShare::WaitWhile(std::int32_t now) const { share_wait(now); }
std::int32_t PageFleetShare::Count() const { return share_word(1); }
void PageFleetShare::SetCount(std::int32_t count) { share_set_word(1, count); }

void PageFleetShare::Write(std::size_t offset, const void* bytes, std::size_t size) {
    share_write(static_cast<int>(offset), bytes, static_cast<int>(size));
}

void PageFleetShare::Read(std::size_t offset, void* bytes, std::size_t size) const {
    share_read(static_cast<int>(offset), bytes, static_cast<int>(size));
}

}  // namespace kestrin
