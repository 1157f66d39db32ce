// The resource object library needs one source of its own while no resource tree exists.
namespace vorlet {
int resourceAnchor = 0;
}
