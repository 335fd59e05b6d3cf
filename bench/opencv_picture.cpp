#include "opencv_picture.h"

#include <opencv2/imgproc.hpp>

#include <cstdlib>
#include <utility>

#include "palette/palette_set.h"

OpenCvPicture::OpenCvPicture(const PaletteSet& palettes, int paletteNumber)
    : lut_(1, PaletteSet::kColourCount, CV_8UC3), frame_(16, 16, CV_16U) {
    const auto colours = palettes.Colours(paletteNumber);
    for (int k = 0; k < PaletteSet::kColourCount; ++k) {
        const ColourRef colour = colours[static_cast<std::size_t>(k)];
        lut_.at<cv::Vec3b>(0, k) = cv::Vec3b(static_cast<std::uint8_t>(BlueOf(colour)),
                                             static_cast<std::uint8_t>(GreenOf(colour)),
                                             static_cast<std::uint8_t>(RedOf(colour)));
    }
}

void OpenCvPicture::Render(const PictureRenderer::ReversedFrame& reversed, bool smooth,
                           std::int16_t spanMin, std::int16_t spanMax) {
    for (int i = 0; i < 16; ++i) {
        auto* row = frame_.ptr<std::uint16_t>(i);
        for (int j = 0; j < 16; ++j) {
            row[j] = static_cast<std::uint16_t>(reversed[static_cast<std::size_t>(j * 16 + i)]);
        }
    }
    const double alpha = spanMax > spanMin ? 255.0 / (spanMax - spanMin) : 0.0;
    const double beta = -spanMin * alpha;
    if (smooth) {
        cv::resize(frame_, grid_, cv::Size(96, 96), 0, 0, cv::INTER_CUBIC);
        grid_.convertTo(indices_, CV_8U, alpha, beta);
    } else {
        frame_.convertTo(indices_, CV_8U, alpha, beta);
    }
    cv::cvtColor(indices_, greys_, cv::COLOR_GRAY2BGR);
    cv::LUT(greys_, lut_, colours_);
    cv::resize(colours_, picture_, cv::Size(PictureRenderer::kSide, PictureRenderer::kSide), 0, 0,
               cv::INTER_NEAREST);
}

namespace {

// Memory row and column of the first brightest pixel of a greyscale picture.
std::pair<int, int> Brightest(const std::uint8_t* pixels) {
    std::pair<int, int> best{0, 0};
    int brightest = -1;
    for (int row = 0; row < PictureRenderer::kSide; ++row) {
        for (int column = 0; column < PictureRenderer::kSide; ++column) {
            const int grey = pixels[row * PictureRenderer::kRowBytes + 3 * column];
            if (grey > brightest) {
                brightest = grey;
                best = {row, column};
            }
        }
    }
    return best;
}

}  // namespace

std::string PictureLayoutDifference() {
    const PaletteSet palettes;
    PictureRenderer ours;
    OpenCvPicture theirs(palettes, 0);
    const cv::Mat& image = theirs.Image();
    PictureRenderer::ReversedFrame frame;
    frame.fill(2800);
    frame[255 - (16 * (15 - 4) + 10)] = 3100;  // screen block column 4, row 10
    for (const bool smooth : {true, false}) {
        ours.Render(frame, smooth, 2800, 3100, palettes, 0);
        theirs.Render(frame, smooth, 2800, 3100);
        if (image.rows != PictureRenderer::kSide || image.cols != PictureRenderer::kSide ||
            image.type() != CV_8UC3 || !image.isContinuous() ||
            image.step[0] != static_cast<std::size_t>(PictureRenderer::kRowBytes)) {
            return "OpenCV's picture is not 192 x 192 blue-green-red bytes in 576-byte rows";
        }
        const auto [ourRow, ourColumn] = Brightest(ours.Data());
        const auto [theirRow, theirColumn] = Brightest(image.data);
        // OpenCV centres its cubic samples half a grid step earlier; blocks match exactly.
        const int tolerance = smooth ? 3 : 0;
        if (std::abs(ourRow - theirRow) > tolerance ||
            std::abs(ourColumn - theirColumn) > tolerance) {
            return std::string("the hot spot lies elsewhere in the ") +
                   (smooth ? "smooth" : "plain") + " picture";
        }
    }
    return {};
}
