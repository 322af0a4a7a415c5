// A program that is only there for its resources.
int main()
{
    return 0;
}
