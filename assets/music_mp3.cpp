// music_mp3.cpp: MP3 encoding of a finished track.
#include "music_engine.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace music {

bool WriteMp3(const Stereo& s, const std::string& path, const std::string& title) {
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), &lame_close);
    if (!lame) return false;
    lame_set_in_samplerate(lame.get(), kRate);
    lame_set_out_samplerate(lame.get(), kRate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_VBR(lame.get(), vbr_default);
    lame_set_VBR_quality(lame.get(), 2);
    id3tag_init(lame.get());
    id3tag_add_v2(lame.get());
    id3tag_set_title(lame.get(), title.c_str());
    id3tag_set_artist(lame.get(), "Ranqua");
    id3tag_set_album(lame.get(), "Ranqua");
    if (lame_init_params(lame.get()) < 0) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "w+b"), &std::fclose);
    if (!out) return false;

    constexpr size_t kBlock = 8192;
    std::vector<short> pcm(2 * kBlock);
    std::vector<unsigned char> mp3(kBlock * 5 / 4 + 7200);
    Random dither(0xD17);
    bool ok = true;
    for (size_t at = 0; at < s.Frames() && ok; at += kBlock) {
        const size_t n = std::min(kBlock, s.Frames() - at);
        for (size_t i = 0; i < n; ++i)
            for (int c = 0; c < 2; ++c) {
                // Triangular dither hides the 16-bit steps in the quiet fades.
                const float x =
                    (c ? s.right : s.left)[at + i] * 32767.0f + dither.Unit() - dither.Unit();
                pcm[2 * i + static_cast<size_t>(c)] =
                    static_cast<short>(std::lrint(std::fmax(-32768.0f, std::fmin(32767.0f, x))));
            }
        const int bytes = lame_encode_buffer_interleaved(
            lame.get(), pcm.data(), static_cast<int>(n), mp3.data(), static_cast<int>(mp3.size()));
        ok = bytes >= 0 && std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), out.get()) ==
                               static_cast<size_t>(bytes);
    }
    if (ok) {
        const int bytes = lame_encode_flush(lame.get(), mp3.data(), static_cast<int>(mp3.size()));
        ok = bytes >= 0 && std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), out.get()) ==
                               static_cast<size_t>(bytes);
    }
    // The VBR header at the front lets players know the length without reading it all (it is
    // read back, hence the file is open for update).
    if (ok) lame_mp3_tags_fid(lame.get(), out.get());
    return ok && std::fflush(out.get()) == 0;
}

} // namespace music
