# Third-party libraries from Debian that the engine links. Each subsystem appends here.

# Image codecs.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(TIFF REQUIRED)
find_package(GIF REQUIRED)
list(APPEND ORV_LIBS PNG::PNG JPEG::JPEG TIFF::TIFF GIF::GIF)
