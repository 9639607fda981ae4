// The tally file's codec: the worked examples byte for byte, round trips around every block and
// item boundary, the block layout of runs and stored blocks, and damaged or foreign input.

#include "lzrw1.h"
#include "scratch_dir.h"
#include "tlzrw1.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace bg::lzrw1;

namespace {

using Vec = std::vector<std::uint8_t>;

Vec bytes(std::string_view s) {
    return Vec(s.begin(), s.end());
}
Vec vec(const Bytes& b) {
    return Vec(b.begin(), b.end());
}

Vec codeBlock(const Vec& in) {
    BlockCoder coder;
    Vec out(in.size() + kBlockSlack);
    out.resize(coder.compressBlock(in.data(), in.size(), out.data()));
    return out;
}

Vec random(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    Vec v(n);
    for (auto& b : v)
        b = static_cast<std::uint8_t>(gen());
    return v;
}

// Text with repeats near and far, a few runs and some binary: every item kind in one input.
Vec structured(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    const std::string words[] = {"Zobo", "\r\n", "Alice", "12", "0", "Backgammon", "tally"};
    Vec v;
    while (v.size() < n) {
        switch (gen() % 6) {
        case 0:
            v.insert(v.end(), gen() % 40 + 1, static_cast<std::uint8_t>(gen()));
            break;
        case 1:
            v.push_back(static_cast<std::uint8_t>(gen()));
            break;
        default: {
            const std::string& w = words[gen() % std::size(words)];
            v.insert(v.end(), w.begin(), w.end());
        }
        }
    }
    v.resize(n);
    return v;
}

// The blocks of a packed stream: each block's data.
std::vector<Vec> blocks(const Bytes& packed) {
    std::vector<Vec> out;
    std::size_t x = kHeaderSize;
    while (x + 2 <= packed.size()) {
        const std::size_t len = packed[x] | (packed[x + 1] << 8);
        out.emplace_back(packed.begin() + x + 2, packed.begin() + x + 2 + len);
        x += 2 + len;
    }
    return out;
}

void expectRoundTrip(const Vec& in) {
    const Bytes packed = pack(in);
    EXPECT_LE(packed.size(), maxPackedSize(in.size()));
    EXPECT_EQ(vec(unpack(packed, "t")), in) << "length " << in.size();
}

std::string messageOf(const Vec& packed) {
    try {
        unpack(packed, "in.tld");
    } catch (const LzrwError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(LzrwCodec, WorkedExamples) {
    EXPECT_EQ(codeBlock(bytes("abc")), (Vec{0x80, 0x61, 0x62, 0x63}));
    EXPECT_EQ(vec(pack(bytes("abc"))),
              (Vec{0x57, 0x52, 0x5A, 0x4C, 0x03, 0, 0, 0, 0x04, 0, 0x80, 0x61, 0x62, 0x63}));
    EXPECT_EQ(codeBlock(Vec(20, 'a')), (Vec{0x40, 0x80, 0x00, 0x00, 0x00, 0x04, 0x61}));
    EXPECT_EQ(codeBlock(bytes("abcabcabcabc")),
              (Vec{0x40, 0x10, 0x00, 0x61, 0x62, 0x63, 0x00, 0x36}));
    EXPECT_EQ(vec(pack(Vec{})), (Vec{0x57, 0x52, 0x5A, 0x4C, 0, 0, 0, 0, 0x01, 0x00, 0x80}));
}

TEST(LzrwCodec, ShortRunsAreALiteralAndACopyFromOneBack) {
    // Four equal bytes would grow when coded, so they are stored.
    EXPECT_EQ(codeBlock(Vec(4, 'x')), (Vec{0x80, 'x', 'x', 'x', 'x'}));
    // Fifteen: a literal, then a copy of 14 at offset 1 (K = 0x001B).
    EXPECT_EQ(codeBlock(Vec(15, 'x')), (Vec{0x40, 0x40, 0x00, 'x', 0x00, 0x1B}));
    // Sixteen reach a run with R = 0.
    EXPECT_EQ(codeBlock(Vec(16, 'x')), (Vec{0x40, 0x80, 0x00, 0x00, 0x00, 0x00, 'x'}));
    // 4096: one full run of 4095, then one literal.
    EXPECT_EQ(codeBlock(Vec(4096, 'x')), (Vec{0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'x', 'x'}));
    // 5000: runs with R = 4079 and R = 889.
    EXPECT_EQ(codeBlock(Vec(5000, 'x')),
              (Vec{0x40, 0xC0, 0x00, 0x00, 0x0F, 0xEF, 'x', 0x00, 0x03, 0x79, 'x'}));
}

TEST(LzrwCodec, RoundTripsAroundEveryBoundary) {
    for (std::size_t n :
         {0u, 1u, 2u, 3u, 4u, 17u, 32767u, 32768u, 32769u, 65535u, 65536u, 65537u, 100000u}) {
        expectRoundTrip(random(n, static_cast<unsigned>(n)));
        expectRoundTrip(structured(n, static_cast<unsigned>(n) + 1));
    }
    for (std::size_t run : {3u, 15u, 16u, 17u, 4095u, 4096u, 5000u, 32768u, 70000u})
        expectRoundTrip(Vec(run, 0xAB));
    // Copies reaching back exactly 4095 and 4096 bytes (the second is out of reach).
    for (std::size_t gap : {4092u, 4093u, 4094u, 4095u})
        expectRoundTrip([&] {
            Vec v = random(gap + 40, 7);
            std::copy(v.begin(), v.begin() + 20, v.begin() + static_cast<long>(gap));
            return v;
        }());
}

// A block written item by item, and what it means decoded one byte at a time.
struct HandBlock {
    Vec data{kCodedFlag};
    Vec meaning;
    std::size_t control = 0; // where the current control word goes
    int items = 16;
    std::uint32_t bits = 0;

    void item(bool copyOrRun) {
        if (items == 16) {
            flush();
            control = data.size();
            data.insert(data.end(), {0, 0});
            items = 0;
            bits = 0;
        }
        bits |= (copyOrRun ? 1u : 0u) << (15 - items);
        ++items;
    }
    void flush() {
        if (control == 0) return;
        data[control] = static_cast<std::uint8_t>(bits >> 8);
        data[control + 1] = static_cast<std::uint8_t>(bits);
    }
    void literal(std::uint8_t b) {
        item(false);
        data.push_back(b);
        meaning.push_back(b);
    }
    void copy(std::size_t pos, std::size_t count) {
        item(true);
        const std::size_t word = (pos << 4) | (count - kMinMatch);
        data.push_back(static_cast<std::uint8_t>(word >> 8));
        data.push_back(static_cast<std::uint8_t>(word));
        for (std::size_t k = 0; k < count; ++k)
            meaning.push_back(meaning[meaning.size() - pos]);
    }
    Vec finished() {
        flush();
        return data;
    }
};

TEST(LzrwCodec, EveryCopyOfEveryLengthAndDistanceDecodesAsTheByteLoopWould) {
    // Whatever the coder chooses, a copy from any distance of any length, overlapping its own
    // output or not, far from the block's ends and at its very end: the wide stores of the
    // decoder must give exactly what copying byte by byte gives.
    for (std::size_t pos = 1; pos <= 40; ++pos) {
        HandBlock b;
        for (std::uint8_t c : random(40, static_cast<unsigned>(pos)))
            b.literal(c);
        // Early items go through the decoder's whole-group path, the last ones item by item.
        for (int round = 0; round < 4; ++round) {
            for (std::size_t count = kMinMatch; count <= kMaxMatch; ++count) {
                b.copy(pos, count);
                b.literal(static_cast<std::uint8_t>(count));
            }
            for (std::size_t count = kMaxMatch; count >= kMinMatch; --count)
                b.copy(pos, count);
        }
        const Vec block = b.finished();
        for (const std::size_t readable : {block.size(), block.size() + 64}) {
            Vec in = block;
            in.resize(readable);
            Vec out(kBlockSize + kBlockSlack);
            const long n = decompressBlock(in.data(), block.size(), readable, out.data());
            ASSERT_EQ(n, static_cast<long>(b.meaning.size())) << "pos " << pos;
            out.resize(static_cast<std::size_t>(n));
            EXPECT_EQ(out, b.meaning) << "pos " << pos << ", readable " << readable;
        }
    }
}

TEST(LzrwCodec, RoundTripsRepeatedPatternsOfEveryShortPeriod) {
    // Copies from 1 to 40 bytes back, of every length, behind literals and behind other
    // copies: the decoder builds these from the bytes before them in several ways.
    for (std::size_t period = 1; period <= 40; ++period)
        for (std::size_t length = 3; length <= 40; length += 1) {
            Vec v = random(7, static_cast<unsigned>(period));
            const Vec unit = random(period, static_cast<unsigned>(period * 100 + length));
            for (int twice = 0; twice < 2; ++twice) {
                for (std::size_t i = 0; i < period + length; ++i)
                    v.push_back(unit[i % period]);
                v.push_back('|');
            }
            expectRoundTrip(v);
        }
}

TEST(LzrwCodec, BlockLayoutOfLongInputs) {
    // Exactly one block of input: the full block, then the final empty block 0x80.
    const Bytes full = pack(Vec(32768, 'q'));
    auto b = blocks(full);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[1], Vec{0x80});
    // Random bytes do not shrink: stored blocks of 32769 bytes.
    const Vec noise = random(2 * 32768 + 5, 3);
    b = blocks(pack(noise));
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0].size(), 32769u);
    EXPECT_EQ(b[0][0], 0x80);
    EXPECT_EQ(b[1].size(), 32769u);
    EXPECT_EQ(b[2].size(), 6u);
    // Every block is coded on its own: a block repeating the previous one still starts with
    // a literal.
    Vec twice = structured(32768, 9);
    twice.insert(twice.end(), twice.begin(), twice.end());
    b = blocks(pack(twice));
    ASSERT_EQ(b.size(), 3u);
    EXPECT_EQ(b[0], b[1]);
}

TEST(LzrwCodec, RefusesForeignAndDamagedStreams) {
    EXPECT_EQ(messageOf(bytes("ABCDxxxxxx")),
              "in.tld : Lzrw1 decompression : this file has no valid header !");
    EXPECT_NE(messageOf(bytes("!HZL\3\0\0\0")).find("!HZL"), std::string::npos);
    EXPECT_EQ(messageOf(bytes("WR")), "Lzrw1 : Error reading from input file : in.tld");

    Vec good = vec(pack(bytes("abcabcabcabc and more abcabcabc")));
    for (std::size_t cut = 4; cut < good.size(); ++cut)
        EXPECT_EQ(messageOf(Vec(good.begin(), good.begin() + static_cast<long>(cut))),
                  "Lzrw1 : Error reading from input file : in.tld")
            << "cut at " << cut;
    Vec wrongLength = good;
    wrongLength[4] += 1;
    EXPECT_EQ(messageOf(wrongLength),
              "Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");

    const std::string damaged = "Lzrw1 (decompression LZRW1/KH) : damaged block in in.tld, "
                                "decoding stopped !";
    // A copy reaching before the block's start.
    EXPECT_EQ(messageOf({'W', 'R', 'Z', 'L', 3, 0, 0, 0, 5, 0, 0x40, 0x80, 0, 0x00, 0x50}),
              damaged);
    // A run of 4111 bytes, eight times: past the end of a block.
    Vec runs = {'W', 'R', 'Z', 'L', 0, 0, 0, 0, 35, 0, 0x40, 0xFF, 0};
    for (int i = 0; i < 8; ++i)
        runs.insert(runs.end(), {0x00, 0x0F, 0xFF, 'r'});
    EXPECT_EQ(messageOf(runs), damaged);
    // A stored block longer than a block.
    Vec stored = {'W', 'R', 'Z', 'L', 0, 0, 0, 0, 0x02, 0x80, 0x80};
    stored.resize(stored.size() + 32769, 's');
    EXPECT_EQ(messageOf(stored), damaged);
    // A copy item cut off by the end of its block.
    EXPECT_EQ(messageOf({'W', 'R', 'Z', 'L', 1, 0, 0, 0, 5, 0, 0x40, 0x40, 0, 'a', 0x00}), damaged);
}

TEST(LzrwFiles, CompressAndDecompressFiles) {
    const bg::ScratchDir scratch("lzrw-test-");
    ASSERT_FALSE(scratch.path().empty());
    const auto& dir = scratch.path();
    const std::string plain = (dir / "plain.txt").string();
    const std::string packed = (dir / "packed.tld").string();
    const std::string back = (dir / "back.txt").string();
    const Vec content = structured(80000, 11);
    std::ofstream(plain, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()), static_cast<long>(content.size()));

    Tlzrw1 codec;
    codec.InputFile = plain;
    codec.OutputFile = packed;
    const std::size_t written = codec.Compress();
    EXPECT_EQ(written, std::filesystem::file_size(packed));
    EXPECT_EQ(written, pack(content).size());
    codec.InputFile = packed;
    codec.OutputFile = back;
    EXPECT_EQ(codec.Decompress(), content.size());
    EXPECT_EQ(vec(readWholeFile(back)), content);
    EXPECT_FALSE(std::filesystem::exists(back + ".new"));

    // A refused file leaves no output behind, and an existing output untouched.
    codec.InputFile = plain;
    try {
        codec.Decompress();
        ADD_FAILURE() << "a plain file was unpacked";
    } catch (const LzrwError& e) {
        EXPECT_EQ(std::string(e.what()),
                  plain + " : Lzrw1 decompression : this file has no valid header !");
    }
    EXPECT_EQ(vec(readWholeFile(back)), content);

    codec.InputFile = (dir / "missing").string();
    try {
        codec.Compress();
        ADD_FAILURE() << "a missing file was packed";
    } catch (const LzrwError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Lzrw1 (de)compression : Failed to open input file : " + codec.InputFile);
    }
    codec.InputFile = plain;
    codec.OutputFile = (dir / "no-such-folder" / "x.tld").string();
    try {
        codec.Compress();
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const LzrwError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Lzrw1 (de)compression : Failed to open output file : " + codec.OutputFile);
    }
}
