#pragma once

// A fatal report that ends the program, and trace hooks that stay silent.
class Error {
public:
    Error() = delete;
    [[noreturn]] static void Out(const char *text);
    static void Out1(const char *) {}
    static void Out1(float) {}
};
