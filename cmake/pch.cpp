// Builds the shared precompiled header.
