// Stub: replaced by the real start-up and main loop.
int main()
{
    return 0;
}
