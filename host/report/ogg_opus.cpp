#include "host/report/ogg_opus.h"

#include "host/host_error.h"

#if GAUGES_HAVE_OPUS
#include <ogg/ogg.h>
#include <opus/opus.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#endif

namespace host::report {

#if GAUGES_HAVE_OPUS

namespace {

constexpr int32_t kFrame = kOpusInputRate / 50;                // 20 ms
constexpr int64_t kGranulePerSample = 48000 / kOpusInputRate;  // granules count 48 kHz samples
constexpr int32_t kBitrate = 16000;
// A frame is left to the silence packet when the frames this near it are
// silent too: more than the encoder's look-ahead and overlap, so a sound's
// start and end are encoded whole.
constexpr int64_t kMarginFrames = 2;
constexpr int32_t kLargestPacket = 1275;
constexpr uint32_t kSerial = 0x6a75676f;  // any fixed number: the same input gives the same file

struct EncoderDeleter {
  void operator()(OpusEncoder* e) const { opus_encoder_destroy(e); }
};
using Encoder = std::unique_ptr<OpusEncoder, EncoderDeleter>;

Encoder make_encoder() {
  int error = 0;
  Encoder e(opus_encoder_create(kOpusInputRate, 1, OPUS_APPLICATION_VOIP, &error));
  if (error != OPUS_OK || !e) throw HostError("the Opus encoder cannot start");
  opus_encoder_ctl(e.get(), OPUS_SET_BITRATE(kBitrate));
  opus_encoder_ctl(e.get(), OPUS_SET_SIGNAL(OPUS_SIGNAL_VOICE));
  opus_encoder_ctl(e.get(), OPUS_SET_BANDWIDTH(OPUS_BANDWIDTH_WIDEBAND));
  opus_encoder_ctl(e.get(), OPUS_SET_COMPLEXITY(3));
  // Silence as one-byte packets, which decoders fill with comfort noise.
  opus_encoder_ctl(e.get(), OPUS_SET_DTX(1));
  return e;
}

std::vector<uint8_t> encode(OpusEncoder* e, const int16_t* frame) {
  std::array<uint8_t, kLargestPacket> packet;
  const opus_int32 n = opus_encode(e, frame, kFrame, packet.data(), kLargestPacket);
  if (n < 0) throw HostError(std::string("Opus encoding failed: ") + opus_strerror(n));
  return {packet.begin(), packet.begin() + n};
}

// What an encoder in the same settings makes of silence once settled.
std::vector<uint8_t> silence_packet() {
  Encoder e = make_encoder();
  const std::array<int16_t, kFrame> zeros{};
  std::vector<uint8_t> packet;
  // Past the encoder's wait before it goes quiet.
  for (int i = 0; i < 30; ++i) packet = encode(e.get(), zeros.data());
  return packet;
}

class OggWriter {
 public:
  OggWriter() { ogg_stream_init(&stream_, static_cast<int>(kSerial)); }
  ~OggWriter() { ogg_stream_clear(&stream_); }
  OggWriter(const OggWriter&) = delete;
  OggWriter& operator=(const OggWriter&) = delete;

  // `flush`: end the page here (the headers have pages of their own).
  void packet(std::vector<uint8_t> bytes, int64_t granule, bool last, bool flush) {
    ogg_packet p{};
    p.packet = bytes.data();
    p.bytes = static_cast<long>(bytes.size());
    p.b_o_s = packetno_ == 0 ? 1 : 0;
    p.e_o_s = last ? 1 : 0;
    p.granulepos = granule;
    p.packetno = packetno_++;
    ogg_stream_packetin(&stream_, &p);
    ogg_page page;
    while (flush || last ? ogg_stream_flush(&stream_, &page) != 0
                         : ogg_stream_pageout(&stream_, &page) != 0) {
      out_.insert(out_.end(), page.header, page.header + page.header_len);
      out_.insert(out_.end(), page.body, page.body + page.body_len);
    }
  }
  std::vector<uint8_t> take() { return std::move(out_); }

 private:
  ogg_stream_state stream_{};
  int64_t packetno_ = 0;
  std::vector<uint8_t> out_;
};

void put_le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> head(uint32_t pre_skip) {
  std::vector<uint8_t> h = {'O', 'p', 'u', 's', 'H', 'e', 'a', 'd', 1, 1};
  put_le(h, pre_skip, 2);
  put_le(h, kOpusInputRate, 4);
  put_le(h, 0, 2);  // output gain
  h.push_back(0);   // mapping family: mono
  return h;
}

std::vector<uint8_t> tags() {
  std::vector<uint8_t> t = {'O', 'p', 'u', 's', 'T', 'a', 'g', 's'};
  const std::string vendor = opus_get_version_string();
  put_le(t, static_cast<uint32_t>(vendor.size()), 4);
  t.insert(t.end(), vendor.begin(), vendor.end());
  put_le(t, 0, 4);  // no comments
  return t;
}

}  // namespace

bool opus_supported() {
  return true;
}

std::vector<uint8_t> ogg_opus(const std::vector<int16_t>& samples) {
  Encoder e = make_encoder();
  opus_int32 lookahead = 0;
  opus_encoder_ctl(e.get(), OPUS_GET_LOOKAHEAD(&lookahead));
  const int64_t pre_skip = lookahead * kGranulePerSample;
  // The encoder lags by its look-ahead: frames enough to give out the last sample.
  const int64_t total = static_cast<int64_t>(samples.size());
  const int64_t frames = std::max<int64_t>(1, (total + lookahead + kFrame - 1) / kFrame);
  // Which frames hold a sound at all: a frame is left to the silence packet
  // when it and its neighbours within the margin hold none.
  std::vector<uint8_t> sounding(static_cast<size_t>(frames), 0);
  for (int64_t i = 0; i < total; ++i) {
    if (samples[static_cast<size_t>(i)] != 0) sounding[static_cast<size_t>(i / kFrame)] = 1;
  }
  auto silent = [&](int64_t f) {
    for (int64_t n = std::max<int64_t>(0, f - kMarginFrames);
         n <= std::min<int64_t>(frames - 1, f + kMarginFrames); ++n) {
      if (sounding[static_cast<size_t>(n)] != 0) return false;
    }
    return true;
  };
  const std::vector<uint8_t> silence = silence_packet();
  std::array<int16_t, kFrame> frame_samples{};

  OggWriter ogg;
  ogg.packet(head(static_cast<uint32_t>(pre_skip)), 0, false, true);
  ogg.packet(tags(), 0, false, true);
  bool encoder_fresh = true;
  for (int64_t f = 0; f < frames; ++f) {
    std::vector<uint8_t> packet;
    if (silent(f)) {
      // The encoder's history would be zeros too: start it afresh later.
      if (!encoder_fresh) opus_encoder_ctl(e.get(), OPUS_RESET_STATE);
      encoder_fresh = true;
      packet = silence;
    } else {
      // The last frames run past the samples: zeros there.
      frame_samples.fill(0);
      const int64_t from = f * kFrame;
      const int64_t n = std::clamp<int64_t>(total - from, 0, kFrame);
      std::copy_n(samples.begin() + from, n, frame_samples.begin());
      packet = encode(e.get(), frame_samples.data());
      encoder_fresh = false;
    }
    const bool last = f + 1 == frames;
    // The last page's granule trims the padding: the file decodes to `total` samples.
    const int64_t granule =
        last ? pre_skip + total * kGranulePerSample : (f + 1) * kFrame * kGranulePerSample;
    ogg.packet(std::move(packet), granule, last, false);
  }
  return ogg.take();
}

#else

bool opus_supported() {
  return false;
}

std::vector<uint8_t> ogg_opus(const std::vector<int16_t>&) {
  throw HostError("this build has no Opus encoder");
}

#endif

}  // namespace host::report
