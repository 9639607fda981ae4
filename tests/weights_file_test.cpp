// The files a trained network is written to: the generated source must compile whatever the
// weights are, and both files must give back the very weights written.

#include "scratch_dir.h"
#include "weightsfile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

using namespace bg;

namespace {

using SmallNet = SparseNet<3, 8>;

const training::WeightsNames kNames{"smallnet.h", "SmallNet", "kSmallLayout", "smallNet",
                                    "The small network"};

std::string textOf(const std::string& path) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

} // namespace

TEST(WeightsFile, EveryWeightIsAFloatLiteralThatReadsBackTheSame) {
    SmallNet net;
    // Whole numbers (a weight that never moved from zero, or one trained onto an integer),
    // the tiny and huge, and the ordinary.
    const float kinds[] = {0.0f, -0.0f, 1.0f, -2.0f, 100000.0f, 1e-10f, -3.5e12f, 0.123456789f};
    for (int i = 0; i < SmallNet::kWeightCount; ++i)
        net.w[size_t(i)] = kinds[size_t(i) % std::size(kinds)] * (i % 3 == 2 ? -1.0f : 1.0f);
    const ScratchDir dir("weights-");
    ASSERT_FALSE(dir.path().empty());
    const std::string out = dir.filePath("small.cpp");
    training::writeWeights(net, out, kNames, "a test", 0);

    const std::string text = textOf(out);
    const auto begin = text.find("{{{"), end = text.find("}}}");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    std::stringstream body(text.substr(begin + 3, end - begin - 3));
    // A decimal floating literal: digits with a point or an exponent, then the suffix.
    const std::regex literal(R"(-?(\d+\.\d*([eE][-+]?\d+)?|\d+[eE][-+]?\d+)f)");
    std::string item;
    int n = 0;
    while (body >> item) {
        ASSERT_EQ(item.back(), ',') << item;
        item.pop_back();
        ASSERT_TRUE(std::regex_match(item, literal)) << "weight " << n << ": " << item;
        ASSERT_LT(n, SmallNet::kWeightCount);
        EXPECT_EQ(std::strtof(item.c_str(), nullptr), net.w[size_t(n)]) << item;
        ++n;
    }
    EXPECT_EQ(n, SmallNet::kWeightCount);
    EXPECT_NE(text.find("kSmallLayout == " + std::to_string(sparseLayout(3, 8)) + "u"),
              std::string::npos);

    SmallNet back;
    ASSERT_TRUE(training::readWeights(out + ".bin", back));
    EXPECT_EQ(back.w, net.w);
    // Weights of another size are refused, not read into the wrong places.
    SparseNet<3, 16> wider;
    EXPECT_FALSE(training::readWeights(out + ".bin", wider));
    EXPECT_FALSE(training::readWeights(dir.filePath("none.bin"), back));
}
