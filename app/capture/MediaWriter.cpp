// Encodes pictures and the soundtrack into a video file, or the soundtrack alone into a WAV
// file, through FFmpeg's libraries.
#include "app/capture/MediaWriter.h"

#include "app/ModuleRenderer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <stdexcept>

namespace Capture {

namespace {

[[noreturn]] void fail(const std::string& what, int code) {
    char reason[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, reason, sizeof reason);
    throw std::runtime_error(what + ": " + reason);
}

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

void check(int code, const char* what) {
    if (code < 0)
        fail(what, code);
}

struct Codecs {
    const char* container; // libavformat's name
    const char* video;     // encoder name, or nullptr for sound alone
    const char* audio;
    AVPixelFormat pixels;
    AVSampleFormat samples;
    int sampleRate;
    long audioBitRate; // bits a second; 0 for lossless
};

Codecs codecsFor(Output output) {
    switch (output) {
    case Output::Mp4:
        return {"mp4", "libx264", "aac", AV_PIX_FMT_YUV420P, AV_SAMPLE_FMT_FLTP, 44100, 192000};
    case Output::Webm:
        return {"webm", "libvpx-vp9", "libopus", AV_PIX_FMT_YUV420P, AV_SAMPLE_FMT_S16,
                48000,  160000};
    case Output::Mkv:
        // FFV1 stores BGR0 losslessly as RGB; the fourth byte is ignored.
        return {"matroska", "ffv1", "flac", AV_PIX_FMT_BGR0, AV_SAMPLE_FMT_S16, 44100, 0};
    case Output::Wav:
        return {"wav", nullptr, "pcm_s16le", AV_PIX_FMT_NONE, AV_SAMPLE_FMT_S16, 44100, 0};
    case Output::Png:
        break;
    }
    fail("no media format writes a .png file");
}

// Encoder options for each output: the constant-quality settings and a speed that keeps the
// encoder near the renderer's pace on two cores.
void videoOptions(Output output, int quality, AVDictionary** options) {
    const std::string crf = std::to_string(quality);
    switch (output) {
    case Output::Mp4:
        av_dict_set(options, "crf", crf.c_str(), 0);
        av_dict_set(options, "preset", "medium", 0);
        break;
    case Output::Webm:
        av_dict_set(options, "crf", crf.c_str(), 0);
        av_dict_set(options, "b", "0", 0);
        av_dict_set(options, "deadline", "good", 0);
        av_dict_set(options, "cpu-used", "4", 0);
        av_dict_set(options, "row-mt", "1", 0);
        break;
    case Output::Mkv:
        av_dict_set(options, "level", "3", 0);
        av_dict_set(options, "slicecrc", "1", 0);
        av_dict_set(options, "slices", "4", 0);
        break;
    default:
        break;
    }
}

} // namespace

struct MediaWriter::State {
    Codecs codecs{};
    AVFormatContext* format = nullptr;
    bool headerWritten = false;

    AVCodecContext* video = nullptr;
    AVStream* videoStream = nullptr;
    AVFrame* picture = nullptr;
    SwsContext* scaler = nullptr;
    std::int64_t picturesSent = 0;

    AVCodecContext* audio = nullptr;
    AVStream* audioStream = nullptr;
    SwrContext* resampler = nullptr;
    AVAudioFifo* fifo = nullptr; // resampled samples waiting for a whole encoder frame
    AVFrame* soundFrame = nullptr;
    std::int64_t samplesSent = 0; // at the encoder's rate
    // Added to the sound's packet times: WebM stores them with the encoder's delay included
    // (its CodecDelay), so that a player, skipping that delay, starts the sound at 0.
    std::int64_t soundTimeShift = 0;
    AVPacket* packet = nullptr;

    ~State() {
        av_packet_free(&packet);
        av_frame_free(&soundFrame);
        if (fifo)
            av_audio_fifo_free(fifo);
        swr_free(&resampler);
        avcodec_free_context(&audio);
        sws_freeContext(scaler);
        av_frame_free(&picture);
        avcodec_free_context(&video);
        if (format) {
            if (format->pb)
                avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    void openVideo(const MediaSettings& settings);
    void openAudio();
    void drain(AVCodecContext* codec, AVStream* stream);
    void encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
    void encodeSound(bool last);
};

void MediaWriter::State::openVideo(const MediaSettings& settings) {
    const AVCodec* encoder = avcodec_find_encoder_by_name(codecs.video);
    if (!encoder)
        fail(std::string("this FFmpeg has no ") + codecs.video + " encoder");
    videoStream = avformat_new_stream(format, nullptr);
    video = avcodec_alloc_context3(encoder);
    if (!videoStream || !video)
        fail("cannot allocate the video stream");
    video->width = settings.width;
    video->height = settings.height;
    video->pix_fmt = codecs.pixels;
    video->time_base = AVRational{1, settings.fps};
    video->framerate = AVRational{settings.fps, 1};
    video->gop_size = codecs.pixels == AV_PIX_FMT_BGR0 ? 1 : 2 * settings.fps;
    video->flags |= AV_CODEC_FLAG_BITEXACT;
    if (codecs.pixels == AV_PIX_FMT_YUV420P) {
        video->color_range = AVCOL_RANGE_MPEG;
        video->colorspace = AVCOL_SPC_BT709;
        video->color_primaries = AVCOL_PRI_BT709;
        video->color_trc = AVCOL_TRC_BT709;
    }
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    videoOptions(settings.output, settings.quality, &options);
    const int opened = avcodec_open2(video, encoder, &options);
    av_dict_free(&options);
    check(opened, "cannot open the video encoder");
    check(avcodec_parameters_from_context(videoStream->codecpar, video),
          "cannot describe the video stream");
    videoStream->time_base = video->time_base;
    videoStream->avg_frame_rate = video->framerate;
    videoStream->r_frame_rate = video->framerate;

    picture = av_frame_alloc();
    if (!picture)
        fail("cannot allocate a picture");
    picture->format = video->pix_fmt;
    picture->width = video->width;
    picture->height = video->height;
    check(av_frame_get_buffer(picture, 0), "cannot allocate a picture");

    scaler = sws_getContext(
        video->width, video->height, AV_PIX_FMT_BGRA, video->width, video->height, video->pix_fmt,
        SWS_BICUBIC | SWS_ACCURATE_RND | SWS_BITEXACT, nullptr, nullptr, nullptr);
    if (!scaler)
        fail("cannot set up the pixel format conversion");
    if (video->pix_fmt == AV_PIX_FMT_YUV420P) {
        // Full-range RGB in, BT.709 limited-range YUV out.
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    }
}

void MediaWriter::State::openAudio() {
    const AVCodec* encoder = avcodec_find_encoder_by_name(codecs.audio);
    if (!encoder)
        fail(std::string("this FFmpeg has no ") + codecs.audio + " encoder");
    audioStream = avformat_new_stream(format, nullptr);
    audio = avcodec_alloc_context3(encoder);
    if (!audioStream || !audio)
        fail("cannot allocate the sound stream");
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    check(av_channel_layout_copy(&audio->ch_layout, &stereo), "cannot set the channel layout");
    audio->sample_fmt = codecs.samples;
    audio->sample_rate = codecs.sampleRate;
    audio->time_base = AVRational{1, codecs.sampleRate};
    audio->bit_rate = codecs.audioBitRate;
    audio->flags |= AV_CODEC_FLAG_BITEXACT;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(audio, encoder, nullptr), "cannot open the sound encoder");
    check(avcodec_parameters_from_context(audioStream->codecpar, audio),
          "cannot describe the sound stream");
    audioStream->time_base = audio->time_base;

    AVChannelLayout in = AV_CHANNEL_LAYOUT_STEREO;
    check(swr_alloc_set_opts2(&resampler, &audio->ch_layout, audio->sample_fmt, audio->sample_rate,
                              &in, AV_SAMPLE_FMT_S16, Audio::kSampleRate, 0, nullptr),
          "cannot set up the sound conversion");
    check(swr_init(resampler), "cannot set up the sound conversion");
    fifo = av_audio_fifo_alloc(audio->sample_fmt, 2, Audio::kBufferFrames);
    soundFrame = av_frame_alloc();
    packet = av_packet_alloc();
    if (!fifo || !soundFrame || !packet)
        fail("cannot allocate sound buffers");
}

MediaWriter::MediaWriter(const std::string& path, const MediaSettings& settings)
    : state(std::make_unique<State>()) {
    State& s = *state;
    s.codecs = codecsFor(settings.output);
    check(avformat_alloc_output_context2(&s.format, nullptr, s.codecs.container, path.c_str()),
          "cannot set up the container");
    s.format->flags |= AVFMT_FLAG_BITEXACT;
    if (s.codecs.video)
        s.openVideo(settings);
    s.openAudio();
    if (settings.output == Output::Webm)
        s.soundTimeShift = s.audio->initial_padding;
    check(avio_open(&s.format->pb, path.c_str(), AVIO_FLAG_WRITE),
          ("cannot create " + path).c_str());
    AVDictionary* options = nullptr;
    if (settings.output == Output::Mp4)
        av_dict_set(&options, "movflags", "+faststart", 0); // index first, for streaming
    const int written = avformat_write_header(s.format, &options);
    av_dict_free(&options);
    check(written, "cannot write the file's header");
    s.headerWritten = true;
}

MediaWriter::~MediaWriter() = default;

void MediaWriter::State::drain(AVCodecContext* codec, AVStream* stream) {
    for (;;) {
        const int received = avcodec_receive_packet(codec, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        check(received, "cannot encode");
        if (codec == audio && soundTimeShift != 0) {
            packet->pts += soundTimeShift;
            packet->dts += soundTimeShift;
        }
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        check(av_interleaved_write_frame(format, packet), "cannot write");
    }
}

void MediaWriter::State::encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
    check(avcodec_send_frame(codec, frame), "cannot encode");
    drain(codec, stream);
}

void MediaWriter::writePicture(const std::uint8_t* bgraBottomUp) {
    State& s = *state;
    if (!s.video)
        return;
    check(av_frame_make_writable(s.picture), "cannot allocate a picture");
    // A negative stride from the last row turns GL's bottom-up rows the right way up.
    const int stride = s.video->width * 4;
    const std::uint8_t* source[1] = {bgraBottomUp + static_cast<size_t>(stride) *
                                                        static_cast<size_t>(s.video->height - 1)};
    const int strides[1] = {-stride};
    sws_scale(s.scaler, source, strides, 0, s.video->height, s.picture->data, s.picture->linesize);
    s.picture->pts = s.picturesSent++;
    s.encode(s.video, s.videoStream, s.picture);
}

// Sends whole encoder frames from the queue; with `last`, also the short remainder.
void MediaWriter::State::encodeSound(bool last) {
    const int frameSize = audio->frame_size > 0 ? audio->frame_size : Audio::kBufferFrames;
    while (av_audio_fifo_size(fifo) >= frameSize || (last && av_audio_fifo_size(fifo) > 0)) {
        av_frame_unref(soundFrame);
        soundFrame->nb_samples = std::min(frameSize, av_audio_fifo_size(fifo));
        soundFrame->format = audio->sample_fmt;
        soundFrame->sample_rate = audio->sample_rate;
        check(av_channel_layout_copy(&soundFrame->ch_layout, &audio->ch_layout),
              "cannot set the channel layout");
        check(av_frame_get_buffer(soundFrame, 0), "cannot allocate sound");
        if (av_audio_fifo_read(fifo, reinterpret_cast<void**>(soundFrame->data),
                               soundFrame->nb_samples) != soundFrame->nb_samples)
            fail("cannot queue sound");
        soundFrame->pts = samplesSent;
        samplesSent += soundFrame->nb_samples;
        encode(audio, audioStream, soundFrame);
    }
}

void MediaWriter::writeSound(const std::int16_t* samples, long frames) {
    State& s = *state;
    const std::uint8_t* in[1] = {reinterpret_cast<const std::uint8_t*>(samples)};
    const int room = swr_get_out_samples(s.resampler, static_cast<int>(frames));
    check(room, "cannot convert sound");
    if (room == 0)
        return;
    std::uint8_t** converted = nullptr;
    check(av_samples_alloc_array_and_samples(&converted, nullptr, 2, room, s.audio->sample_fmt, 0),
          "cannot allocate sound");
    const int made = samples
                         ? swr_convert(s.resampler, converted, room, in, static_cast<int>(frames))
                         : swr_convert(s.resampler, converted, room, nullptr, 0);
    int queued = made;
    if (made > 0)
        queued = av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(converted), made);
    av_freep(&converted[0]);
    av_freep(&converted);
    check(made, "cannot convert sound");
    if (queued != made)
        fail("cannot queue sound");
    s.encodeSound(false);
}

void MediaWriter::finish() {
    State& s = *state;
    writeSound(nullptr, 0); // what the resampler still holds
    s.encodeSound(true);
    s.encode(s.audio, s.audioStream, nullptr);
    if (s.video)
        s.encode(s.video, s.videoStream, nullptr);
    check(av_write_trailer(s.format), "cannot complete the file");
    check(s.format->pb->error, "cannot write");
    check(avio_closep(&s.format->pb), "cannot close the file");
}

} // namespace Capture
