// Links every resource of the program into one executable, so that the
// build shows at once when the resource scripts no longer merge.
int main()
{
    return 0;
}
