# Install rules and the CMake/pkg-config packages (placeholder).
