set(RANQUA_ASSET_GENERATOR_SOURCES
  assets/generate.cpp
)
