#pragma once

#include <opencv2/core.hpp>

#include <cstdint>
#include <string>

#include "display/picture_renderer.h"

class PaletteSet;

// The picture made with OpenCV the way thermal-camera viewers commonly make it: cubic
// resize of the frame to 96 × 96, convertTo through the span to an 8-bit colour index,
// LUT to blue-green-red, nearest resize to 192 × 192 (blocks of 12 × 12 in plain
// mode). The frame goes in transposed, so the rows of the result in memory are those
// of PictureRenderer's bottom-up bitmap.
class OpenCvPicture {
  public:
    OpenCvPicture(const PaletteSet& palettes, int paletteNumber);

    void Render(const PictureRenderer::ReversedFrame& reversed, bool smooth, std::int16_t spanMin,
                std::int16_t spanMax);
    const cv::Mat& Image() const { return picture_; }

  private:
    cv::Mat lut_;
    cv::Mat frame_;
    cv::Mat grid_;
    cv::Mat indices_;
    cv::Mat greys_;
    cv::Mat colours_;
    cv::Mat picture_;
};

// Renders a frame with one hot pixel both ways, in both modes, and compares size,
// pixel type, row length and where the hot spot lies in memory. Empty when the
// layouts agree, otherwise what differs.
std::string PictureLayoutDifference();
